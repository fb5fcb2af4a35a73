// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/frame_converter.h"

#include "export/export_error.h"

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace lumetta {

void AVFrameFree::operator()(AVFrame *frame) const
{
    av_frame_free(&frame);
}

FrameConverter::FrameConverter(QSize size, int pixelFormat) : size_(size), pixelFormat_(pixelFormat)
{
    // RGB32 images are B, G, R, 0xFF in memory. Colours are converted with BT.709, which the
    // encoders' streams are tagged with.
    scaler_ = sws_getContext(size.width(), size.height(), AV_PIX_FMT_BGR0, size.width(), size.height(),
                             AVPixelFormat(pixelFormat), SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!scaler_)
        throw ExportError(QStringLiteral("Cannot convert frames to the video's pixel format"));
    int *table = nullptr, *inverse = nullptr;
    int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
    if (sws_getColorspaceDetails(scaler_, &inverse, &srcRange, &table, &dstRange, &brightness, &contrast, &saturation)
        >= 0) {
        sws_setColorspaceDetails(scaler_, sws_getCoefficients(SWS_CS_ITU709), srcRange,
                                 sws_getCoefficients(SWS_CS_ITU709), dstRange, brightness, contrast, saturation);
    }
}

FrameConverter::~FrameConverter()
{
    sws_freeContext(scaler_);
}

FramePointer FrameConverter::Convert(const QImage &image)
{
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    FramePointer frame(av_frame_alloc());
    if (!frame)
        throw ExportError(QStringLiteral("Not enough memory for a video frame"));
    frame->width = size_.width();
    frame->height = size_.height();
    frame->format = pixelFormat_;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        throw ExportError(QStringLiteral("Not enough memory for a video frame"));
    const uint8_t *source[1] = {rgb.constBits()};
    const int stride[1] = {int(rgb.bytesPerLine())};
    sws_scale(scaler_, source, stride, 0, size_.height(), frame->data, frame->linesize);
    return frame;
}

}  // namespace lumetta
