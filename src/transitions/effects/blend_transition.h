// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/blend_frames.h"
#include "transitions/engine/timed_transition_effect.h"

namespace lumetta {

// Cross-fade from the old picture to the new one: 64 levels of channel mix (16 on 15- and 16-bit
// pictures); on palette screens a dissolve through the 8 x 8 ordered-dither pattern instead.
class TBlendTransition : public TTimedTransitionEffect
{
    Q_OBJECT

public:
    explicit TBlendTransition(QObject *owner = nullptr);

    QString GetDescription() const override;
    bool AllowSrcRendering() const override;
    bool NeedWorkBitmap() const override;
    // True on palette screens, where the old picture itself is dissolved.
    bool WorkOnSrcBitmap() const override;
    void Initialize(PassData &data, int &frameCount) override;
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override;
    void Finalize(PassData &data) override;

private:
    lumetta::BlendFrames frames_;
    // Frames go straight onto the canvas when it is laid out like the work bitmap: it holds the
    // previous frame just as the work bitmap would.
    bool onCanvas_ = false;
};

}  // namespace lumetta
