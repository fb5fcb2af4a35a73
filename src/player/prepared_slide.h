// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/slide_composition.h"
#include "player/slide_request.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace lumetta {

// A slide ready to be shown: its picture decoded, scaled once to the size it is shown at, and
// its place on the screen; or, when the file cannot be shown, why. In a show whose slides move,
// also the picture at the scale their motion draws its frames from.
struct PreparedSlide
{
    QImage picture;
    QImage motionSource;
    SlideLayout layout;
    std::optional<QString> error;
};

// Loads the picture file, lays the slide out and scales the picture to it. Safe on any thread.
PreparedSlide PrepareSlide(const QString &path, const SlideRequest &request);

}  // namespace lumetta
