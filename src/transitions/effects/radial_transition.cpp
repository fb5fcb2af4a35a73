// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/radial_transition.h"

#include "transitions/core/shapes/mask_paint.h"

#include <algorithm>

namespace lumetta {

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

template <class Paint>
void TRadialTransition::ForEachWedge(int CurrentFrame, int Step, int FrameCount, const Paint &paint)
{
    UpdateRect = QRect();
    lumetta::RadialWedges(geometry_, styleInUse_, subStyleInUse_, CurrentFrame, Step, FrameCount, wedges_);
    for (const lumetta::RadialWedge &wedge : wedges_) {
        QPoint vertices[lumetta::RadialMaxWedgeVertices];
        const int count = lumetta::RadialWedgeVertices(geometry_, wedge, vertices);
        paint(vertices, count);
        int left = vertices[0].x(), right = left, top = vertices[0].y(), bottom = top;
        for (int i = 1; i < count; ++i) {
            left = std::min(left, vertices[i].x());
            right = std::max(right, vertices[i].x());
            top = std::min(top, vertices[i].y());
            bottom = std::max(bottom, vertices[i].y());
        }
        UpdateRect = UpdateRect.united(QRect(QPoint(left, top), QPoint(right, bottom)));
    }
}

void TRadialTransition::DrawMask(QImage &Mask, int CurrentFrame, int Step, int FrameCount, int, PassData &,
                                 bool &WhiteIsNew)
{
    WhiteIsNew = true;
    ForEachWedge(CurrentFrame, Step, FrameCount, [&](const QPoint *vertices, int count) {
        if (count == 2)
            lumetta::MaskLine(Mask, vertices[0], vertices[1]);
        else
            lumetta::MaskFillPolygon(Mask, vertices, count);
    });
}

bool TRadialTransition::DrawsRuns() const
{
    return true;
}

void TRadialTransition::DrawRuns(NewPixelRuns &Runs, int CurrentFrame, int Step, int FrameCount, int, PassData &Data)
{
    auto paintWith = [&](auto &&run) {
        ForEachWedge(CurrentFrame, Step, FrameCount, [&](const QPoint *vertices, int count) {
            if (count == 2)
                lumetta::ScannedLineRuns(vertices[0], vertices[1], Data.Height, run);
            else
                lumetta::ScannedPolygonRuns(vertices, count, Data.Height, scanRows_, crossings_, run);
        });
    };
    if (Runs.KeepsRegion()) {
        paintWith([&Runs](int y, int x0, int x1) { Runs.Run(y, x0, x1); });
    } else {
        // Most of a sweep's frame is rows of a pixel or two: the copier's fields stay in registers.
        Runs.Copier().WithFixedPixelSize([&](auto copier) { paintWith(copier); });
    }
}

bool TRadialTransition::ClearsMaskEachFrame() const
{
    return true;
}

int TRadialTransition::SubStyleCount(int Style) const
{
    return lumetta::RadialSubStyleCount(Style);
}

}  // namespace lumetta
