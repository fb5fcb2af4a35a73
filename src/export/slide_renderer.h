// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/caption_bar_painter.h"
#include "player/slide_composition.h"
#include "show/story_caption.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace lumetta {

class ShowSettings;

// Composes a show's slides for a screen of a given size as the player shows them there, without
// a window: the slide panel (background, shadow, slide) and the caption bar under it.
class SlideRenderer
{
public:
    // Builds the background and the empty caption bar for a fresh player: needs the GUI thread.
    // Throws PictureError when the background picture cannot be loaded.
    SlideRenderer(const ShowSettings &settings, QSize screen);

    QSize Screen() const { return screen_; }
    // The slide panel: the screen less the caption bar when the bar shows.
    QSize AreaSize() const { return area_; }
    bool HasCaptionBar() const { return !captionBar_.IsNull(); }
    // The panel's own colour (black unless the background is one plain colour).
    const QColor &PanelColour() const { return panelColour_; }

    // What the panel shows before the first slide: the background alone.
    QImage BareArea() const;
    // Loads the picture and composes its slide over the background (Format_RGB32), with
    // CAPTION drawn over it at the panel's size. Throws PictureError for a picture that cannot
    // be read. Safe on any thread.
    QImage ComposeSlide(const QString &path, const StoryCaption &caption = StoryCaption()) const;
    // The caption bar for picture `index` of the list; null when the bar is hidden.
    QImage CaptionBar(int index, const QString &path) const;
    // The whole screen: `area` with `captionBar` under it.
    QImage Frame(const QImage &area, const QImage &captionBar) const;

private:
    QSize screen_;
    QSize area_;
    QColor panelColour_;
    QImage background_;
    std::optional<int> percent_;
    bool shadow_ = false;
    CaptionBarPainter captionBar_;
};

}  // namespace lumetta
