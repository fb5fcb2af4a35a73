#include "transitions/teCircle.h"

#include "transitions/teMonoPaint.h"

using namespace lumetta;

TCircleTransition::TCircleTransition(QObject *Owner)
    : TMaskedTransition(Owner)
{
    m_styleCount = 3;
}

QString TCircleTransition::GetDescription() const { return QStringLiteral("Circle"); }

int TCircleTransition::ReversedSubStyle(int Style, int SubStyle) const { return CircleReversedSubStyle(Style, SubStyle); }

bool TCircleTransition::UsesDeltaMask() const { return true; }

int TCircleTransition::SubStyleCount(int Style) const { return CircleSubStyleCount(Style); }

void TCircleTransition::Initialize(TTETransitionData &Data, int &FrameCount)
{
    TMaskedTransition::Initialize(Data, FrameCount);
    m_plan = MakeCirclePlan(Data.Width, Data.Height, GetStyleToUse(), GetSubStyleToUse());
    m_frames.emplace(m_plan, Data.Width, Data.Height);
    FrameCount = m_plan.frames;
}

void TCircleTransition::DrawMask(QImage &Mask, int CurrentFrame, int Step, int, int, TTETransitionData &, bool &WhiteIsNew)
{
    // A sub-style the style does not offer paints nothing and leaves the old picture showing.
    WhiteIsNew = m_plan.grows;
    if (!m_plan.draws)
        return;
    const CircleFrame frame = m_frames->Frame(CurrentFrame, Step);
    UpdateRect = frame.update;
    UnchangedRect = frame.unchanged;
    const QRect &d = frame.disc;
    FillMonoEllipse(Mask, d.left(), d.top(), d.left() + d.width(), d.top() + d.height(), true);
}

void TCircleTransition::Finalize(TTETransitionData &Data)
{
    m_frames.reset();
    TMaskedTransition::Finalize(Data);
}
