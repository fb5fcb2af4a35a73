// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/prepared_slide.h"

#include "media/picture.h"
#include "media/picture_error.h"
#include "player/motion_frames.h"

#include <new>

namespace lumetta {

PreparedSlide PrepareSlide(const QString &path, const SlideRequest &request)
{
    PreparedSlide slide;
    try {
        const Picture picture = Picture::Load(path);
        slide.layout = LayOutSlide(picture.size(), request.screen, request.percent, request.shadow);
        // Decoded completely now and scaled once to the slide, so the transition only copies.
        slide.picture = picture.Scaled(slide.layout.picture.size());
        if (request.motionDetail > 0) {
            const QSize source =
                MotionFrames::SourceSize(picture.size(), slide.layout.picture.size(), request.motionDetail);
            slide.motionSource = source == slide.picture.size() ? slide.picture : picture.Scaled(source);
        }
    } catch (const PictureError &error) {
        slide.error = error.Message();
    } catch (const std::bad_alloc &) {
        slide.error = PictureError(path, QStringLiteral("not enough memory")).Message();
    }
    return slide;
}

}  // namespace lumetta
