#pragma once

#include "transitions/pass_data.h"

#include <QRect>
#include <QRegion>

#include <cstdint>
#include <cstring>
#include <vector>

// Copies runs of a pass's new picture straight onto its canvas when the canvas lays out its
// pixels as the work bitmap does, else into the work bitmap. A shape effect whose frames only
// ever turn pixels to the new picture draws so without a mask, a combination or a flush copy:
// each frame costs what it changes. Nothing reads the work bitmap of such a pass again, so runs
// that go onto the canvas are not written there too. Optionally keeps a region of bands of rows
// covering every run, for presenting the frame (or for copying it from the work bitmap to a
// canvas of another layout).
class NewPixelRuns
{
public:
    // Rows per band of the kept region.
    static constexpr int kBandRows = 32;

    // Ready for the pass: false when its pictures cannot take raw runs (no work bitmap or new
    // picture, 1-bit pixels, or pictures of different depths). keepRegion asks for the region
    // even when the canvas takes the runs itself.
    bool Begin(const PassData &Data, bool keepRegion);
    // True when runs go onto the canvas: then nothing is left to copy after a frame.
    bool OnCanvas() const { return onCanvas_; }

    // Pixels x0..x1-1 of row y take the new picture (clipped to the area).
    void Run(int y, int x0, int x1)
    {
        if (unsigned(y) >= unsigned(height_))
            return;
        if (x0 < 0)
            x0 = 0;
        if (x1 > width_)
            x1 = width_;
        if (x0 >= x1)
            return;
        const std::size_t offset = std::size_t(x0) * std::size_t(bytes_);
        const std::size_t count = std::size_t(x1 - x0) * std::size_t(bytes_);
        CopyBytes(target_ + std::intptr_t(y) * targetStride_ + offset, dst_ + std::intptr_t(y) * dstStride_ + offset,
                  count);
        if (keepRegion_)
            Note(y, x0, x1);
    }

    // The region of the runs since the last call (empty when no region is kept), then forgets it.
    QRegion TakeRegion();

private:
    // Most runs of a frame are a pixel or two wide: those are copied in place, not by a call.
    static void CopyBytes(std::uint8_t *to, const std::uint8_t *from, std::size_t count)
    {
        if (count > 16) {
            std::memcpy(to, from, count);
            return;
        }
        for (; count >= 4; count -= 4, to += 4, from += 4)
            std::memcpy(to, from, 4);
        for (; count > 0; --count)
            *to++ = *from++;
    }
    void Note(int y, int x0, int x1);

    struct Interval
    {
        int x0, x1;
    };

    const std::uint8_t *dst_ = nullptr;
    std::uint8_t *target_ = nullptr;
    std::intptr_t dstStride_ = 0, targetStride_ = 0;
    bool onCanvas_ = false;
    int width_ = 0, height_ = 0, bytes_ = 0;
    bool keepRegion_ = false;
    std::vector<std::vector<Interval>> bands_;
    std::vector<int> touched_;
    std::vector<QRect> rects_;
};
