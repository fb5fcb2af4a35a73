// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/circle_transition.h"

#include "transitions/engine/core_conversions.h"

using namespace lumetta;

TCircleTransition::TCircleTransition(QObject *owner) : TMaskedTransition(owner)
{
    styleCount_ = 3;
}

QString TCircleTransition::GetDescription() const
{
    return QStringLiteral("Circle");
}

int TCircleTransition::ReversedSubStyle(int style, int subStyle) const
{
    return CircleReversedSubStyle(style, subStyle);
}

bool TCircleTransition::UsesDeltaMask() const
{
    return true;
}

bool TCircleTransition::DrawsRuns() const
{
    return true;
}

int TCircleTransition::SubStyleCount(int style) const
{
    return CircleSubStyleCount(style);
}

void TCircleTransition::Initialize(PassData &data, int &frameCount)
{
    TMaskedTransition::Initialize(data, frameCount);
    frameCount = shape_.Begin(data.width, data.height, GetStyleToUse(), GetSubStyleToUse());
}

void TCircleTransition::DrawMask(const PixelView &mask, int currentFrame, int step, int, int, PassData &,
                                 bool &whiteIsNew)
{
    // A sub-style the style does not offer paints nothing and leaves the old picture showing.
    whiteIsNew = shape_.WhiteIsNew();
    const std::optional<CircleFrame> frame = shape_.Next(currentFrame, step);
    if (!frame)
        return;
    updateRect = QRectOf(frame->update);
    unchangedRect = QRectOf(frame->unchanged);
    CircleShape::PaintMask(mask, *frame);
}

void TCircleTransition::DrawRuns(NewPixelRuns &runs, int currentFrame, int step, int, int, PassData &)
{
    const std::optional<CircleFrame> frame = shape_.Next(currentFrame, step);
    if (!frame)
        return;
    updateRect = QRectOf(frame->update);
    unchangedRect = QRectOf(frame->unchanged);
    // The delta mask of the disc is the ring between the last disc and this one.
    if (runs.KeepsRegion()) {
        shape_.RingRuns(*frame, [&runs](int y, int x0, int x1) { runs.Run(y, x0, x1); });
    } else {
        // A ring is thousands of runs of a pixel or two: the copier's fields stay in registers.
        runs.Copier().WithFixedPixelSize([&](auto copier) { shape_.RingRuns(*frame, copier); });
    }
}
