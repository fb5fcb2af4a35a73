// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/shapes/pixel_run_copier.h"
#include "transitions/engine/pass_data.h"

#include <QRect>
#include <QRegion>

#include <vector>

namespace lumetta {

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
    bool Begin(const PassData &data, bool keepRegion);
    // True when runs go onto the canvas: then nothing is left to copy after a frame.
    bool OnCanvas() const { return onCanvas_; }

    // Pixels x0..x1-1 of row y take the new picture (clipped to the area).
    void Run(int y, int x0, int x1)
    {
        if (copier_.Copy(y, x0, x1) && keepRegion_)
            Note(y, x0, x1);
    }
    // When no region is kept, Copier() copies runs as Run does.
    bool KeepsRegion() const { return keepRegion_; }
    const PixelRunCopier &Copier() const { return copier_; }

    // The region of the runs since the last call (empty when no region is kept), then forgets it.
    QRegion TakeRegion();

private:
    void Note(int y, int x0, int x1);

    struct Interval
    {
        int x0, x1;
    };

    PixelRunCopier copier_;
    bool onCanvas_ = false;
    int width_ = 0, height_ = 0;
    bool keepRegion_ = false;
    std::vector<std::vector<Interval>> bands_;
    std::vector<int> touched_;
    std::vector<QRect> rects_;
};

}  // namespace lumetta
