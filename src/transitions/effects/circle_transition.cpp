// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/circle_transition.h"

#include "transitions/core/shapes/mono_paint.h"

using namespace lumetta;

TCircleTransition::TCircleTransition(QObject *Owner) : TMaskedTransition(Owner)
{
    styleCount_ = 3;
}

QString TCircleTransition::GetDescription() const
{
    return QStringLiteral("Circle");
}

int TCircleTransition::ReversedSubStyle(int Style, int SubStyle) const
{
    return CircleReversedSubStyle(Style, SubStyle);
}

bool TCircleTransition::UsesDeltaMask() const
{
    return true;
}

bool TCircleTransition::DrawsRuns() const
{
    return true;
}

int TCircleTransition::SubStyleCount(int Style) const
{
    return CircleSubStyleCount(Style);
}

void TCircleTransition::Initialize(PassData &Data, int &FrameCount)
{
    TMaskedTransition::Initialize(Data, FrameCount);
    plan_ = MakeCirclePlan(Data.Width, Data.Height, GetStyleToUse(), GetSubStyleToUse());
    frames_.emplace(plan_, Data.Width, Data.Height);
    rings_.emplace(plan_.cx, plan_.cy, Data.Width, Data.Height, plan_.grows);
    FrameCount = plan_.frames;
}

void TCircleTransition::DrawMask(QImage &Mask, int CurrentFrame, int Step, int, int, PassData &, bool &WhiteIsNew)
{
    // A sub-style the style does not offer paints nothing and leaves the old picture showing.
    WhiteIsNew = plan_.grows;
    if (!plan_.draws)
        return;
    const CircleFrame frame = frames_->Frame(CurrentFrame, Step);
    UpdateRect = frame.update;
    UnchangedRect = frame.unchanged;
    const QRect &d = frame.disc;
    FillMonoEllipse(Mask, d.left(), d.top(), d.left() + d.width(), d.top() + d.height(), true);
}

void TCircleTransition::DrawRuns(NewPixelRuns &Runs, int CurrentFrame, int Step, int, int, PassData &)
{
    if (!plan_.draws)
        return;
    const CircleFrame frame = frames_->Frame(CurrentFrame, Step);
    UpdateRect = frame.update;
    UnchangedRect = frame.unchanged;
    // The delta mask of the disc is the ring between the last disc and this one.
    if (Runs.KeepsRegion()) {
        rings_->MoveTo(frame.radius, [&Runs](int y, int x0, int x1) { Runs.Run(y, x0, x1); });
    } else {
        // A ring is thousands of runs of a pixel or two: the copier's fields stay in registers.
        Runs.Copier().WithFixedPixelSize([&](auto copier) { rings_->MoveTo(frame.radius, copier); });
    }
}

void TCircleTransition::Finalize(PassData &Data)
{
    rings_.reset();
    frames_.reset();
    TMaskedTransition::Finalize(Data);
}
