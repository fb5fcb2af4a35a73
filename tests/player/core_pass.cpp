// SPDX-License-Identifier: GPL-3.0-or-later
#include "core_pass.h"

#include <cstddef>

namespace lumetta::test {

PixelRows VisibleRows(const ConstPixelView &picture, int width, int height)
{
    const auto rowBytes = std::size_t(StorageBits(picture.layout) * width + 7) / 8;
    PixelRows rows;
    rows.reserve(rowBytes * std::size_t(height));
    for (int y = 0; y < height; ++y)
        rows.insert(rows.end(), picture.Row(y), picture.Row(y) + rowBytes);
    return rows;
}

CorePass RunCorePass(const TransitionSettings &settings, const ConstPixelView &oldPicture,
                     const ConstPixelView &newPicture)
{
    std::vector<std::uint8_t> memory(oldPicture.SizeInBytes());
    const PixelView out{memory.data(), oldPicture.width, oldPicture.height, oldPicture.stride, oldPicture.layout};
    TransitionFrames frames(settings, oldPicture, newPicture, out);
    CorePass pass;
    pass.frameCount = frames.FrameCount();
    for (int frame = 1; frame < frames.FrameCount(); ++frame) {
        frames.Draw(frame);
        pass.frames[frame] = VisibleRows(out, out.width, out.height);
    }
    frames.DrawLast();
    pass.last = VisibleRows(out, out.width, out.height);
    return pass;
}

}  // namespace lumetta::test
