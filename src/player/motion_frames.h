// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/motion_path.h"
#include "common/slide_motion.h"

#include <QImage>
#include <QRectF>
#include <QSize>

#include <array>

namespace lumetta {

// The frames of a moving slide: the part of the picture the motion shows at a moment, resampled
// to the slide's size with sub-pixel positions (bilinear), from a copy of the picture prepared
// once at a scale near the deepest zoom's, never from the full-size original.
class MotionFrames
{
public:
    // The most detail kept beyond the slide's size: a zoom to half the picture stays sharp,
    // deeper ones soften rather than cost memory.
    static constexpr double kMostDetail = 2;

    MotionFrames() = default;
    // MOTION over SOURCE (the whole picture, at any scale) for a slide of SLIDE pixels lasting
    // DURATION_MS.
    MotionFrames(const QImage &source, QSize slide, const SlideMotion &motion, double durationMs);

    bool IsNull() const { return source_.isNull() || slide_.isEmpty(); }
    QSize SlideSize() const { return slide_; }
    const QImage &Source() const { return source_; }
    double DurationMs() const { return path_.DurationMs(); }
    // The motion takes MS milliseconds from its start to its end.
    void SetDurationMs(double ms);

    // The size to prepare a picture of PICTURE pixels at for a moving slide of SLIDE pixels that
    // wants DETAIL times the slide's size: no larger than the picture, no smaller than the slide.
    static QSize SourceSize(QSize picture, QSize slide, double detail);
    // How much detail MOTION needs: the slide's size over its closest part, at most kMostDetail.
    static double DetailFor(const SlideMotion &motion);

    // The part of the source shown at MS milliseconds into the slide.
    QRectF CropAt(double ms) const;
    // The slide at MS milliseconds: Format_RGB32, or premultiplied ARGB for a picture with
    // transparency. Frames are drawn into two buffers in turn, so a frame still shown is not
    // copied when the next one is drawn.
    QImage FrameAt(double ms);
    // Draws the part CROP of SOURCE over the whole of TARGET, bilinear, at sub-pixel positions.
    static void Resample(const QImage &source, const QRectF &crop, QImage &target);

private:
    QImage source_;
    QSize slide_;
    SlideMotion motion_;
    MotionPath path_{SlideMotion(), {}, {}, 0};
    std::array<QImage, 2> buffers_;
    int nextBuffer_ = 0;
};

}  // namespace lumetta
