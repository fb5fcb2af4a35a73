// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/slide_geometry.h"

#include "common/arith.h"

namespace lumetta {

SlideRect SlideExtent(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight, int percent)
{
    SlideRect extent{0, 0, pictureWidth, pictureHeight};
    if (percent <= 0 || pictureWidth <= 0 || pictureHeight <= 0 || screenWidth <= 0 || screenHeight <= 0)
        return extent;
    const double ratio = double(pictureWidth) / pictureHeight;
    const double screenRatio = double(screenWidth) / screenHeight;
    const double share = percent / 100.0;
    if (ratio > screenRatio) {
        extent.width = int(RoundEven(share * screenWidth)) + 3;
        extent.height = int(RoundEven(extent.width / ratio));
    } else {
        extent.height = int(RoundEven(share * screenHeight)) + 3;
        extent.width = int(RoundEven(extent.height * ratio));
    }
    return extent;
}

SlideGeometry PlaceSlide(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight, int percent,
                         bool shadow)
{
    SlideGeometry geometry;
    geometry.picture = SlideExtent(pictureWidth, pictureHeight, screenWidth, screenHeight, percent);
    SlideRect &picture = geometry.picture;
    picture.left = int(RoundEven((screenWidth - picture.width) / 2.0));
    picture.top = int(RoundEven((screenHeight - picture.height) / 2.0));
    geometry.hasShadow = shadow;
    if (shadow)
        geometry.shadow = {picture.left + kShadowOffset, picture.top + kShadowOffset, picture.width, picture.height};
    return geometry;
}

}  // namespace lumetta
