// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/radial_transition.h"

#include "transitions/engine/core_conversions.h"

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
    frameCount = shape_.Begin(data.width, data.height, GetStyleToUse(), GetSubStyleToUse());
}

int TRadialTransition::ReversedSubStyle(int style, int subStyle) const
{
    return lumetta::RadialReversedSubStyle(style, subStyle);
}

void TRadialTransition::DrawMask(const PixelView &mask, int currentFrame, int step, int frameCount, int, PassData &,
                                 bool &whiteIsNew)
{
    whiteIsNew = true;
    updateRect = QRectOrNull(shape_.PaintMask(mask, currentFrame, step, frameCount));
}

bool TRadialTransition::DrawsRuns() const
{
    return true;
}

void TRadialTransition::DrawRuns(NewPixelRuns &runs, int currentFrame, int step, int frameCount, int, PassData &data)
{
    if (runs.KeepsRegion()) {
        updateRect = QRectOrNull(shape_.PaintRuns(currentFrame, step, frameCount, data.height,
                                                  [&runs](int y, int x0, int x1) { runs.Run(y, x0, x1); }));
    } else {
        // Most of a sweep's frame is rows of a pixel or two: the copier's fields stay in registers.
        runs.Copier().WithFixedPixelSize([&](auto copier) {
            updateRect = QRectOrNull(shape_.PaintRuns(currentFrame, step, frameCount, data.height, copier));
        });
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
