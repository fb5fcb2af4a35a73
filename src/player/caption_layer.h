// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/story_caption.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace lumetta {

// A slide's caption drawn once for a slide area: the text with its edge on transparency, and
// where it lies in the area (device pixels).
struct CaptionLayer
{
    QImage image;
    QPoint at;

    bool IsNull() const { return image.isNull(); }
};

// The margin between a caption and the edge of an area of AREA pixels.
int CaptionMargin(QSize area);

// CAPTION laid out for a slide area of AREA device pixels: its size scaled to the area's shorter
// side, so that it reads alike on every slide; lines wrapped to the width less the margins,
// centred across, at the top, in the middle or at the bottom of PICTURE, the picture's place in
// the area. The whole area stands in for a picture that is null, narrower than a third of the
// area or too low for the text. Null for a caption without text. Safe on any thread.
CaptionLayer PaintCaptionLayer(const StoryCaption &caption, QSize area, const QRect &picture = QRect());

// Draws LAYER over AREA, the composed slide area.
void DrawCaptionLayer(QImage &area, const CaptionLayer &layer);

}  // namespace lumetta
