// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/radial_transition.h"

#include "transitions/core/shapes/mask_paint.h"

#include <algorithm>

namespace lumetta {

TRadialTransition::TRadialTransition(QObject *owner) : TMaskedTransition(owner)
{
    styleCount_ = 7;
}

QString TRadialTransition::GetDescription() const
{
    return QStringLiteral("Radial");
}

void TRadialTransition::Initialize(PassData &data, int &frameCount)
{
    TMaskedTransition::Initialize(data, frameCount);
    styleInUse_ = GetStyleToUse();
    subStyleInUse_ = GetSubStyleToUse();
    geometry_ = lumetta::MakeRadialGeometry(data.width, data.height);
    geometry_.activeCorners = lumetta::RadialActiveCorners(styleInUse_, subStyleInUse_);
    frameCount = lumetta::RadialFrameCount(geometry_, styleInUse_, subStyleInUse_);
}

int TRadialTransition::ReversedSubStyle(int style, int subStyle) const
{
    return lumetta::RadialReversedSubStyle(style, subStyle);
}

template <class Paint>
void TRadialTransition::ForEachWedge(int currentFrame, int step, int frameCount, const Paint &paint)
{
    updateRect = QRect();
    lumetta::RadialWedges(geometry_, styleInUse_, subStyleInUse_, currentFrame, step, frameCount, wedges_);
    for (const lumetta::RadialWedge &wedge : wedges_) {
        lumetta::Point vertices[lumetta::kRadialMaxWedgeVertices];
        const int count = lumetta::RadialWedgeVertices(geometry_, wedge, vertices);
        paint(vertices, count);
        int left = vertices[0].x, right = left, top = vertices[0].y, bottom = top;
        for (int i = 1; i < count; ++i) {
            left = std::min(left, vertices[i].x);
            right = std::max(right, vertices[i].x);
            top = std::min(top, vertices[i].y);
            bottom = std::max(bottom, vertices[i].y);
        }
        updateRect = updateRect.united(QRect(QPoint(left, top), QPoint(right, bottom)));
    }
}

void TRadialTransition::DrawMask(const PixelView &mask, int currentFrame, int step, int frameCount, int, PassData &,
                                 bool &whiteIsNew)
{
    whiteIsNew = true;
    ForEachWedge(currentFrame, step, frameCount, [&](const lumetta::Point *vertices, int count) {
        if (count == 2)
            lumetta::MaskLine(mask, vertices[0], vertices[1]);
        else
            lumetta::MaskFillPolygon(mask, vertices, count);
    });
}

bool TRadialTransition::DrawsRuns() const
{
    return true;
}

void TRadialTransition::DrawRuns(NewPixelRuns &runs, int currentFrame, int stepSize, int frameTotal, int, PassData &passData)
{
    auto paintWith = [&](auto &&run) {
        ForEachWedge(currentFrame, stepSize, frameTotal, [&](const lumetta::Point *vertices, int count) {
            if (count == 2)
                lumetta::ScannedLineRuns(vertices[0], vertices[1], passData.height, run);
            else
                lumetta::ScannedPolygonRuns(vertices, count, passData.height, scanRows_, crossings_, run);
        });
    };
    if (runs.KeepsRegion()) {
        paintWith([&runs](int y, int x0, int x1) { runs.Run(y, x0, x1); });
    } else {
        // Most of a sweep's frame is rows of a pixel or two: the copier's fields stay in registers.
        runs.Copier().WithFixedPixelSize([&](auto copier) { paintWith(copier); });
    }
}

bool TRadialTransition::ClearsMaskEachFrame() const
{
    return true;
}

int TRadialTransition::SubStyleCount(int style) const
{
    return lumetta::RadialSubStyleCount(style);
}

}  // namespace lumetta
