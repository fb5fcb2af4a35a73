// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/slide_motion.h"
#include "player/caption_bar_painter.h"
#include "player/caption_layer.h"
#include "player/motion_frames.h"
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
    // A slide whose picture moves, composed anew at every moment of its motion.
    struct MovingSlide
    {
        SlideLayout layout;
        MotionFrames frames;
        CaptionLayer caption;
    };

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
    // Loads the picture at the scale MOTION needs and lays its slide out, with CAPTION. Throws
    // PictureError for a picture that cannot be read. Safe on any thread.
    MovingSlide PrepareMovingSlide(const QString &path, const StoryCaption &caption, const SlideMotion &motion) const;
    // The panel at MS milliseconds into SLIDE's motion, as ComposeSlide composes a still one.
    QImage ComposeMoment(MovingSlide &slide, double ms) const;
    // The caption bar for picture `index` of the list; null when the bar is hidden.
    QImage CaptionBar(int index, const QString &path) const;
    // The whole screen: `area` with `captionBar` under it.
    QImage Frame(const QImage &area, const QImage &captionBar) const;

private:
    QImage Compose(const SlideLayout &layout, const QImage &picture, const CaptionLayer &caption) const;

    QSize screen_;
    QSize area_;
    QColor panelColour_;
    QImage background_;
    std::optional<int> percent_;
    bool shadow_ = false;
    CaptionBarPainter captionBar_;
};

}  // namespace lumetta
