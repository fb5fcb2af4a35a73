// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/transition_frames.h"

#include "common/random.h"
#include "transitions/core/pixels/copy_pixels.h"

namespace lumetta {

TransitionFrames::TransitionFrames(const TransitionSettings &settings, const ConstPixelView &oldPicture,
                                   const ConstPixelView &newPicture, const PixelView &out)
    : settings_(settings),
      old_(oldPicture),
      new_(newPicture),
      out_(out)
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
    case TransitionKind::Blocks:
    case TransitionKind::Circle:
    case TransitionKind::Radial:
        BeginShape();
        break;
    }
}

void TransitionFrames::BeginShape()
{
    const TransitionKind kind = settings_.kind;
    Randomize();
    // The random style and sub-style are drawn as the effect classes draw them.
    const int styleCount = kind == TransitionKind::Blocks ? 4 : kind == TransitionKind::Circle ? 3 : 7;
    const int style = settings_.style != 0 ? settings_.style : Random(styleCount) + 1;
    int subStyle = settings_.subStyle;
    if (subStyle == 0) {
        const int count = kind == TransitionKind::Blocks   ? BlockSubStyleCount(style)
                          : kind == TransitionKind::Circle ? CircleSubStyleCount(style)
                                                           : RadialSubStyleCount(style);
        subStyle = Random(count) + 1;
    }
    if (settings_.reversed)
        subStyle = kind == TransitionKind::Blocks   ? BlockReversedSubStyle(style, subStyle)
                   : kind == TransitionKind::Circle ? CircleReversedSubStyle(style, subStyle)
                                                    : RadialReversedSubStyle(style, subStyle);
    masked_.Begin(out_.width, out_.height, kind == TransitionKind::Circle);
    if (kind == TransitionKind::Blocks)
        frameCount_ = blocks_.Begin(out_.width, out_.height, settings_.cols, settings_.rows, settings_.blockWidth,
                                    settings_.blockHeight, settings_.puzzle, style, subStyle);
    else if (kind == TransitionKind::Circle)
        frameCount_ = circle_.Begin(out_.width, out_.height, style, subStyle);
    else
        frameCount_ = radial_.Begin(out_.width, out_.height, style, subStyle);
}

FrameChange TransitionFrames::DrawShape(int frame, int step)
{
    const HalfOpenRect area{0, 0, out_.width, out_.height};
    // A single plain block is copied as it is, without the mask.
    if (settings_.kind == TransitionKind::Blocks && !settings_.puzzle && step <= 1) {
        const HalfOpenRect block = blocks_.NextBlock();
        CopyPixels(out_, new_, block);
        return {Intersect(block, area), {}};
    }
    FrameChange change{area, {}};
    bool whiteIsNew = true;
    const PixelView mask = masked_.Mask()->View();
    switch (settings_.kind) {
    case TransitionKind::Blocks:
        change.update = blocks_.PaintMask(mask, step, nullptr);
        break;
    case TransitionKind::Circle:
        // A sub-style the style does not offer paints nothing and leaves the old picture showing.
        whiteIsNew = circle_.WhiteIsNew();
        if (const std::optional<CircleFrame> disc = circle_.Next(frame, step)) {
            change = {disc->update, disc->unchanged};
            CircleShape::PaintMask(mask, *disc);
        }
        break;
    default:
        change.update = radial_.PaintMask(mask, frame, step, frameCount_);
        break;
    }
    change.update = Intersect(change.update, area);
    masked_.Prepare(whiteIsNew);
    if (!change.update.IsEmpty())
        masked_.Combine(change.update.top, change.update.bottom, new_, out_, out_);
    if (settings_.kind != TransitionKind::Circle)
        masked_.ClearMask();
    return change;
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
    case TransitionKind::Blocks:
    case TransitionKind::Circle:
    case TransitionKind::Radial:
        return DrawShape(frame, step);
    }
    return {};
}

void TransitionFrames::DrawLast()
{
    masked_.End();
    CopyPixels(out_, new_, {0, 0, out_.width, out_.height});
}

}  // namespace lumetta
