#include "transitions/teRadial.h"

#include "transitions/teMaskPaint.h"

TRadialTransition::TRadialTransition(QObject *Owner) : TMaskedTransition(Owner) { m_styleCount = 7; }

QString TRadialTransition::GetDescription() const { return QStringLiteral("Radial"); }

void TRadialTransition::Initialize(TTETransitionData &Data, int &FrameCount)
{
    TMaskedTransition::Initialize(Data, FrameCount);
    m_styleInUse = GetStyleToUse();
    m_subStyleInUse = GetSubStyleToUse();
    m_geometry = lumetta::MakeRadialGeometry(Data.Width, Data.Height);
    m_geometry.activeCorners = lumetta::RadialActiveCorners(m_styleInUse, m_subStyleInUse);
    FrameCount = lumetta::RadialFrameCount(m_geometry, m_styleInUse, m_subStyleInUse);
}

int TRadialTransition::ReversedSubStyle(int Style, int SubStyle) const
{
    return lumetta::RadialReversedSubStyle(Style, SubStyle);
}

void TRadialTransition::DrawMask(QImage &Mask, int CurrentFrame, int Step, int FrameCount, int,
                                 TTETransitionData &, bool &WhiteIsNew)
{
    WhiteIsNew = true;
    UpdateRect = QRect();
    const auto wedges =
        lumetta::RadialWedges(m_geometry, m_styleInUse, m_subStyleInUse, CurrentFrame, Step, FrameCount);
    for (const lumetta::RadialWedge &wedge : wedges) {
        const std::vector<QPoint> vertices = lumetta::RadialWedgeVertices(m_geometry, wedge);
        if (vertices.size() == 2)
            lumetta::MaskLine(Mask, vertices[0], vertices[1]);
        else
            lumetta::MaskFillPolygon(Mask, vertices.data(), int(vertices.size()));
        for (const QPoint &v : vertices)
            UpdateRect = UpdateRect.united(QRect(v, QSize(1, 1)));
    }
}

bool TRadialTransition::ClearsMaskEachFrame() const { return true; }

int TRadialTransition::SubStyleCount(int Style) const { return lumetta::RadialSubStyleCount(Style); }
