// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/transition_frames.h"

#include "transitions/core/pixels/copy_pixels.h"

namespace lumetta {

TransitionFrames::TransitionFrames(const TransitionSettings &settings, const ConstPixelView &oldPicture,
                                   const ConstPixelView &newPicture, const PixelView &out)
    : settings_(settings), old_(oldPicture), new_(newPicture), out_(out)
{
    const HalfOpenRect area{0, 0, out.width, out.height};
    CopyPixels(out, oldPicture, area);
    switch (settings.kind) {
    case TransitionKind::Cut:
        break;
    case TransitionKind::Blend:
        frameCount_ = blend_.Begin(out.layout, settings.dissolve);
        break;
    case TransitionKind::Wipe:
        frameCount_ = wipe_.Begin(settings.direction, settings.bandWidth, out.width, out.height);
        break;
    case TransitionKind::Drip:
        frameCount_ = drip_.Begin(settings.direction, out.width, out.height);
        break;
    }
}

FrameChange TransitionFrames::Draw(int frame)
{
    const int step = frame - previous_;
    previous_ = frame;
    const HalfOpenRect area{0, 0, out_.width, out_.height};
    switch (settings_.kind) {
    case TransitionKind::Cut:
        break;
    case TransitionKind::Blend:
        blend_.Draw(frame, old_, new_, out_);
        return {area, {}};
    case TransitionKind::Wipe:
        return wipe_.Draw(frame, step, old_, new_, out_);
    case TransitionKind::Drip:
        return {drip_.Draw(step, new_, out_), {}};
    }
    return {};
}

void TransitionFrames::DrawLast()
{
    CopyPixels(out_, new_, {0, 0, out_.width, out_.height});
}

}  // namespace lumetta
