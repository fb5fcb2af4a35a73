// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/motion_frames.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lumetta {

namespace {

QImage::Format FrameFormat(const QImage &source)
{
    return source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

}  // namespace

MotionFrames::MotionFrames(const QImage &source, QSize slide, const SlideMotion &motion, double durationMs)
    // Qt's bilinear sampling is fastest from these two formats.
    : source_(source.convertToFormat(FrameFormat(source))),
      slide_(slide),
      motion_(motion)
{
    SetDurationMs(durationMs);
}

void MotionFrames::SetDurationMs(double ms)
{
    path_ = MotionPath(motion_, {double(source_.width()), double(source_.height())},
                       {double(slide_.width()), double(slide_.height())}, ms);
}

QSize MotionFrames::SourceSize(QSize picture, QSize slide, double detail)
{
    if (picture.isEmpty() || slide.isEmpty())
        return picture;
    const double wanted = std::max(double(slide.width()) * detail / picture.width(),
                                   double(slide.height()) * detail / picture.height());
    const double least = std::max(double(slide.width()) / picture.width(), double(slide.height()) / picture.height());
    const double scale = std::max(std::min(wanted, 1.0), least);
    return QSize(std::max(1, int(std::lround(picture.width() * scale))),
                 std::max(1, int(std::lround(picture.height() * scale))));
}

double MotionFrames::DetailFor(const SlideMotion &motion)
{
    const SlideMotion::Rect start = SlideMotion::Clamped(motion.start);
    const SlideMotion::Rect end = SlideMotion::Clamped(motion.end);
    const double closest = std::min({start.width, start.height, end.width, end.height});
    return std::min(1 / closest, kMostDetail);
}

QRectF MotionFrames::CropAt(double ms) const
{
    const MotionPath::Crop crop = path_.At(ms);
    return QRectF(crop.x, crop.y, crop.width, crop.height);
}

QImage MotionFrames::FrameAt(double ms)
{
    if (IsNull())
        return QImage();
    QImage &frame = buffers_[nextBuffer_];
    nextBuffer_ = 1 - nextBuffer_;
    if (frame.size() != slide_ || frame.format() != source_.format())
        frame = QImage(slide_, source_.format());
    Resample(source_, CropAt(ms), frame);
    return frame;
}

void MotionFrames::Resample(const QImage &source, const QRectF &crop, QImage &target)
{
    QPainter painter(&target);
    // Copies, transparency included: every pixel of the target is drawn.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(target.size())), source, crop);
}

}  // namespace lumetta
