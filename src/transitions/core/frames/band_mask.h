// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/pixels/mono_bitmap.h"
#include "transitions/core/pixels/pixel_size.h"
#include "transitions/core/pixels/pixel_view.h"
#include "transitions/core/shapes/half_open_rect.h"

#include <cstdint>
#include <vector>

// The wipe's soft band: the random mask that mixes old and new pictures, composed into a frame.
namespace lumetta {

// How a band lies: Columns for a wipe travelling right or left (BW columns), Rows for one
// travelling down or up (BW rows).
enum class BandAxis { Columns, Rows };

// Seed the band mask is drawn from.
inline constexpr std::uint32_t kBandMaskSeed = 1642000;

// Extra length of the mask along the band, so each frame can read it at a random offset 0..74.
inline constexpr int kBandMaskSlack = 75;

// The band mask of one wipe direction, kept between runs while its size and direction hold.
class BandMask
{
public:
    // Mask size a band of bandWidth needs on a width x height picture.
    static PixelSize SizeFor(BandAxis axis, int bandWidth, int width, int height);

    // True when the held mask was built for this axis, side and size.
    bool Fits(BandAxis axis, bool newSideFirst, const PixelSize &size) const;

    // Draws the mask from the shared generator, which it seeds to BandMaskSeed and leaves there.
    // newSideFirst: band position 0 lies next to the uncovered part (right and down wipes).
    void Build(BandAxis axis, bool newSideFirst, int bandWidth, int width, int height);

    void Clear();

    // A set bit selects the new picture.
    const MonoBitmap &Bits() const { return bits_; }

    // Composes band rectangle band of dst from oldPic and newPic through the mask, band pixel
    // (x, y) reading mask pixel (x - band.Left + maskX, y - band.Top + maskY), and copies
    // rectangle strip of newPic to dst in the same pass over the rows; both clipped to dst.
    void Compose(const ConstPixelView &oldPic, const ConstPixelView &newPic, const PixelView &dst,
                 const HalfOpenRect &band, int maskX, int maskY, const HalfOpenRect &strip = {});

private:
    const std::uint8_t *SelectionRow(int row, int bytesPerPixel);

    MonoBitmap bits_;
    BandAxis axis_ = BandAxis::Columns;
    bool newSideFirst_ = true;
    // The mask widened to whole pixel bytes for the fast kernel, built on first use per pixel size.
    std::vector<std::uint8_t> select_;
    int selectBpp_ = 0;
};

}  // namespace lumetta
