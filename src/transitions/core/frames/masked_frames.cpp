// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/masked_frames.h"

#include "transitions/core/kernels/mask_kernels.h"
#include "transitions/core/shapes/mask_paint.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lumetta {
namespace {

// prev |= mask and mask &= ~old prev, word by word: the mask keeps only newly set pixels.
void ApplyDeltaMask(MonoBitmap &mask, MonoBitmap &prev)
{
    std::uint8_t *m = mask.Bits();
    std::uint8_t *p = prev.Bits();
    const auto bytes = std::ptrdiff_t(std::min(mask.SizeInBytes(), prev.SizeInBytes()));
    std::ptrdiff_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t mw, pw;
        std::memcpy(&mw, m + i, 8);
        std::memcpy(&pw, p + i, 8);
        const std::uint64_t fresh = mw & ~pw;
        pw |= mw;
        std::memcpy(m + i, &fresh, 8);
        std::memcpy(p + i, &pw, 8);
    }
    for (; i < bytes; ++i) {
        const auto fresh = std::uint8_t(m[i] & ~p[i]);
        p[i] = std::uint8_t(p[i] | m[i]);
        m[i] = fresh;
    }
}

MaskPlane PlaneOf(const ConstPixelView &view)
{
    return {const_cast<std::uint8_t *>(view.bits), std::intptr_t(view.stride)};
}

}  // namespace

void MaskedFrames::Begin(int width, int height, bool deltaMask)
{
    mask_.emplace(CreateMask(width, height));
    prevMask_.reset();
    if (deltaMask)
        prevMask_.emplace(CreateMask(width, height));
}

void MaskedFrames::End()
{
    mask_.reset();
    prevMask_.reset();
}

void MaskedFrames::Prepare(bool whiteIsNew)
{
    if (!whiteIsNew)
        InvertMask(mask_->View());
    if (prevMask_)
        ApplyDeltaMask(*mask_, *prevMask_);
}

void MaskedFrames::Combine(int top, int bottom, const ConstPixelView &newPicture, const ConstPixelView &oldPicture,
                           const PixelView &work) const
{
    const int bits = StorageBits(work.layout);
    // 1-bit pictures combine nothing; pictures of another depth would be overrun.
    if (bits < 4 || StorageBits(newPicture.layout) != bits
        || (!oldPicture.IsNull() && StorageBits(oldPicture.layout) != bits))
        return;
    const ConstPixelView mask = mask_->View();
    const int width =
        std::min({mask.width, work.width, newPicture.width, oldPicture.IsNull() ? mask.width : oldPicture.width});
    bottom = std::min(
        {bottom, mask.height, work.height, newPicture.height, oldPicture.IsNull() ? mask.height : oldPicture.height});
    CombineMaskedRows(PlaneOf(mask), PlaneOf(newPicture), oldPicture.IsNull() ? MaskPlane{} : PlaneOf(oldPicture),
                      {work.bits, std::intptr_t(work.stride)}, width, top, bottom, bits);
}

void MaskedFrames::ClearMask()
{
    lumetta::ClearMask(mask_->View());
}

}  // namespace lumetta
