#pragma once

#include "player/slide_composition.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace lumetta {

// What a slide's picture is prepared for besides its file: the screen (device pixels) and the
// show's picture size and shadow settings.
struct SlideRequest
{
    QSize screen;
    std::optional<int> percent;
    bool shadow = false;

    bool operator==(const SlideRequest &) const = default;
};

// A slide ready to be shown: its picture decoded, scaled once to the size it is shown at, and
// its place on the screen; or, when the file cannot be shown, why.
struct PreparedSlide
{
    QImage picture;
    SlideLayout layout;
    std::optional<QString> error;
};

// Loads the picture file, lays the slide out and scales the picture to it. Safe on any thread.
PreparedSlide PrepareSlide(const QString &path, const SlideRequest &request);

}  // namespace lumetta
