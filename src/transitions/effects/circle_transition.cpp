// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/circle_transition.h"

#include "transitions/core/shapes/mono_paint.h"
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
    plan_ = MakeCirclePlan(data.width, data.height, GetStyleToUse(), GetSubStyleToUse());
    frames_.emplace(plan_, data.width, data.height);
    rings_.emplace(plan_.cx, plan_.cy, data.width, data.height, plan_.grows);
    frameCount = plan_.frames;
}

void TCircleTransition::DrawMask(const PixelView &mask, int currentFrame, int step, int, int, PassData &, bool &whiteIsNew)
{
    // A sub-style the style does not offer paints nothing and leaves the old picture showing.
    whiteIsNew = plan_.grows;
    if (!plan_.draws)
        return;
    const CircleFrame frame = frames_->Frame(currentFrame, step);
    updateRect = QRectOf(frame.update);
    unchangedRect = QRectOf(frame.unchanged);
    const HalfOpenRect &d = frame.disc;
    FillMonoEllipse(mask, d.left, d.top, d.right, d.bottom, true);
}

void TCircleTransition::DrawRuns(NewPixelRuns &runs, int currentFrame, int step, int, int, PassData &)
{
    if (!plan_.draws)
        return;
    const CircleFrame frame = frames_->Frame(currentFrame, step);
    updateRect = QRectOf(frame.update);
    unchangedRect = QRectOf(frame.unchanged);
    // The delta mask of the disc is the ring between the last disc and this one.
    if (runs.KeepsRegion()) {
        rings_->MoveTo(frame.radius, [&runs](int y, int x0, int x1) { runs.Run(y, x0, x1); });
    } else {
        // A ring is thousands of runs of a pixel or two: the copier's fields stay in registers.
        runs.Copier().WithFixedPixelSize([&](auto copier) { rings_->MoveTo(frame.radius, copier); });
    }
}

void TCircleTransition::Finalize(PassData &data)
{
    rings_.reset();
    frames_.reset();
    TMaskedTransition::Finalize(data);
}
