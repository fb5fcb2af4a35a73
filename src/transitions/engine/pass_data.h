// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/engine/bitmap.h"

#include <QImage>

namespace lumetta {

class RenderWindow;
struct FrameStepping;

// The per-pass record handed to the frame routines; it references the bitmaps, owns none.
// The type names are qualified where a field of the same name follows.
class PassData
{
public:
    QImage *bitmap = nullptr;
    QImage *srcBmp = nullptr;
    QImage *dstBmp = nullptr;
    QImage *canvas = nullptr;
    int width = 0;
    int height = 0;
    lumetta::PixelFormat pixelFormat = pf32bit;
    bool highColor = true;

    // The work bitmap when there is one, else the canvas.
    QImage *GetCanvas() const { return bitmap ? bitmap : canvas; }

    // Engine side: the window that shows Canvas (null when headless) and the tool's stepping.
    lumetta::RenderWindow *renderWindow = nullptr;
    const FrameStepping *stepping = nullptr;

    // Pacing: the clock reading (Stopwatch::Now) from which the pass's Milliseconds run, so the
    // run's set-up before the frames counts too; negative: from the first frame.
    double startedAt = -1;
    // Pacing: the shortest time worth leaving between two frames, one refresh of the screen that
    // shows them (ms); 0 when no screen limits it.
    double frameInterval = 0;
};

}  // namespace lumetta
