#include "transitions/radial_transition.h"

#include "transitions/mask_paint.h"

TRadialTransition::TRadialTransition(QObject *Owner) : TMaskedTransition(Owner)
{
    styleCount_ = 7;
}

QString TRadialTransition::GetDescription() const
{
    return QStringLiteral("Radial");
}

void TRadialTransition::Initialize(PassData &Data, int &FrameCount)
{
    TMaskedTransition::Initialize(Data, FrameCount);
    styleInUse_ = GetStyleToUse();
    subStyleInUse_ = GetSubStyleToUse();
    geometry_ = lumetta::MakeRadialGeometry(Data.Width, Data.Height);
    geometry_.activeCorners = lumetta::RadialActiveCorners(styleInUse_, subStyleInUse_);
    FrameCount = lumetta::RadialFrameCount(geometry_, styleInUse_, subStyleInUse_);
}

int TRadialTransition::ReversedSubStyle(int Style, int SubStyle) const
{
    return lumetta::RadialReversedSubStyle(Style, SubStyle);
}

void TRadialTransition::ForEachWedge(int CurrentFrame, int Step, int FrameCount,
                                     const std::function<void(const std::vector<QPoint> &)> &paint)
{
    UpdateRect = QRect();
    const auto wedges = lumetta::RadialWedges(geometry_, styleInUse_, subStyleInUse_, CurrentFrame, Step, FrameCount);
    for (const lumetta::RadialWedge &wedge : wedges) {
        const std::vector<QPoint> vertices = lumetta::RadialWedgeVertices(geometry_, wedge);
        paint(vertices);
        for (const QPoint &v : vertices)
            UpdateRect = UpdateRect.united(QRect(v, QSize(1, 1)));
    }
}

void TRadialTransition::DrawMask(QImage &Mask, int CurrentFrame, int Step, int FrameCount, int, PassData &,
                                 bool &WhiteIsNew)
{
    WhiteIsNew = true;
    ForEachWedge(CurrentFrame, Step, FrameCount, [&](const std::vector<QPoint> &vertices) {
        if (vertices.size() == 2)
            lumetta::MaskLine(Mask, vertices[0], vertices[1]);
        else
            lumetta::MaskFillPolygon(Mask, vertices.data(), int(vertices.size()));
    });
}

bool TRadialTransition::DrawsRuns() const
{
    return true;
}

void TRadialTransition::DrawRuns(NewPixelRuns &Runs, int CurrentFrame, int Step, int FrameCount, int, PassData &Data)
{
    auto run = [&Runs](int y, int x0, int x1) { Runs.Run(y, x0, x1); };
    ForEachWedge(CurrentFrame, Step, FrameCount, [&](const std::vector<QPoint> &vertices) {
        if (vertices.size() == 2)
            lumetta::LineRuns(vertices[0], vertices[1], Data.Height, run);
        else
            lumetta::PolygonRuns(vertices.data(), int(vertices.size()), Data.Height, crossings_, run);
    });
}

bool TRadialTransition::ClearsMaskEachFrame() const
{
    return true;
}

int TRadialTransition::SubStyleCount(int Style) const
{
    return lumetta::RadialSubStyleCount(Style);
}
