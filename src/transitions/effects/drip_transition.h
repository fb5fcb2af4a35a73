// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/drip_frames.h"
#include "transitions/engine/timed_transition_effect.h"

namespace lumetta {

// Replaces the old picture at once by streaks: the new picture settles line by line from one
// edge, and the line at the settling edge is smeared over the rest of the area.
class TDripTransition : public TTimedTransitionEffect
{
    Q_OBJECT
    Q_PROPERTY(lumetta::TTransitionEffect::EffectDirection Direction READ Direction WRITE SetDirection)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TDripTransition(QObject *owner = nullptr);

    QString GetDescription() const override;
    bool NeedSrcImage() const override;
    // Only the vertical directions copy rows into a work bitmap.
    bool NeedWorkBitmap() const override;
    bool FirstPassAnimated() const override;

protected:
    void Initialize(PassData &data, int &frameCount) override;
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override;

private:
    lumetta::DripFrames frames_;
    // The frames go straight onto the canvas instead of through the work bitmap.
    bool onCanvas_ = false;
};

}  // namespace lumetta
