// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

#include <memory>

struct AVFrame;
struct SwsContext;

namespace lumetta {

struct AVFrameFree
{
    void operator()(AVFrame *frame) const;
};
using FramePointer = std::unique_ptr<AVFrame, AVFrameFree>;

// Converts composed frames (RGB32 images of the video's size) to the encoder's pixel format.
class FrameConverter
{
public:
    // `pixelFormat` is an AVPixelFormat.
    FrameConverter(QSize size, int pixelFormat);
    ~FrameConverter();
    FrameConverter(const FrameConverter &) = delete;
    FrameConverter &operator=(const FrameConverter &) = delete;

    // A new frame holding `image`; throws ExportError when memory runs out.
    FramePointer Convert(const QImage &image);

private:
    QSize size_;
    int pixelFormat_;
    SwsContext *scaler_ = nullptr;
};

}  // namespace lumetta
