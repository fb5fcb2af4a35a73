// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// The disc of a circle pass row by row, moved from radius to radius, reporting the ring of pixels
// between the previous disc and the new one: what a frame of the circle turns to the new picture.
// The disc of radius r about (cx, cy) holds the pixels whose centres lie inside or on the circle,
// as FillMonoEllipse paints the box (cx - r, cy - r, cx + r, cy + r). Each row keeps its half
// width and moves it only as far as the radius asks, so a pass costs what its rings hold.
namespace lumetta {

class CircleRings
{
public:
    // A disc on a width x height picture that grows from nothing, or shrinks from covering the
    // whole picture (everything outside its first disc is then the first ring).
    CircleRings(int cx, int cy, int width, int height, bool grows);

    // Moves the disc to radius r (at least 1; a growing disc only grows, a shrinking one only
    // shrinks) and calls run(y, x0, x1) for every run of pixels x0..x1-1 of row y that lie in
    // one of the two discs only, within the picture.
    template <class Run>
    void MoveTo(int r, Run &&run)
    {
        const std::int64_t r2 = 4 * std::int64_t(r) * r;
        // Rows beyond the larger disc hold no pixels of either.
        const int rows = int(std::min<std::int64_t>(half_.size(), std::max<std::int64_t>(r, radius_)));
        for (int k = 0; k < rows; ++k) {
            int h = half_[std::size_t(k)];
            const int before = h;
            // Row pair k lies 2k + 1 half pixels from the centre line.
            const std::int64_t dy = 2 * std::int64_t(k) + 1;
            const std::int64_t limit = r2 - dy * dy;
            if (k >= r) {
                h = 0;
            } else {
                while (h < reach_ && (2 * std::int64_t(h) + 1) * (2 * std::int64_t(h) + 1) <= limit)
                    ++h;
                while (h > 0 && (2 * std::int64_t(h) - 1) * (2 * std::int64_t(h) - 1) > limit)
                    --h;
            }
            if (h == before)
                continue;
            half_[std::size_t(k)] = h;
            const int inner = std::min(h, before), outer = std::max(h, before);
            for (const int y : {cy_ + k, cy_ - 1 - k}) {
                if (y < 0 || y >= height_)
                    continue;
                if (inner == 0) {
                    Clipped(y, cx_ - outer, cx_ + outer, run);
                } else {
                    Clipped(y, cx_ - outer, cx_ - inner, run);
                    Clipped(y, cx_ + inner, cx_ + outer, run);
                }
            }
        }
        radius_ = r;
    }

private:
    template <class Run>
    void Clipped(int y, int x0, int x1, Run &run) const
    {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width_);
        if (x0 < x1)
            run(y, x0, x1);
    }

    int cx_, cy_, width_, height_;
    // A half width from which a row's disc covers the whole row: wider ones need not be told apart.
    int reach_;
    // The radius of the disc now; larger than any row count for a shrinking disc before its first move.
    int radius_;
    // Half width of the disc in row pair k (rows cy + k and cy - 1 - k): pixels cx - h .. cx + h - 1.
    std::vector<int> half_;
};

}  // namespace lumetta
