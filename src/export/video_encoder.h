// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/replacement_file.h"
#include "export/video_format.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

struct AVFrame;

namespace lumetta {

class Soundtrack;

// Encodes frames and the soundtrack into a video file with FFmpeg's libraries. Everything is
// written to a temporary file beside the target, which replaces the target only when the video
// is complete: a failed or abandoned export leaves nothing behind and never touches an existing
// file. Failures throw ExportError naming the target and the reason.
class VideoEncoder
{
public:
    struct Options
    {
        QString target;
        VideoContainer container = VideoContainer::Mp4;
        ExportQuality quality = ExportQuality::Good;
        QSize size;
        FrameRate fps = 30;
        // Refuse: Finish fails when a file stands at the target by then.
        ReplacementFile::Existing existing = ReplacementFile::Existing::Replace;
    };

    VideoEncoder();
    // Removes the temporary file unless Finish completed.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder &) = delete;
    VideoEncoder &operator=(const VideoEncoder &) = delete;

    // Creates the temporary file and the streams; `soundtrack` (may be null: no audio stream)
    // is read as the video advances and must outlive the encoder.
    void Open(const Options &options, Soundtrack *soundtrack);
    // The pixel format frames must have (an AVPixelFormat).
    int PixelFormat() const;
    // Shows `frame` for the next `repeat` frame times (the frame is only referenced). Except in
    // the lossless mode a still stretch is stored as its first and last frame, the time stamps
    // holding the picture on screen in between, so frames that change no pixel cost nothing.
    void WriteVideo(const AVFrame &frame, std::int64_t repeat);
    std::int64_t FramesWritten() const { return framesWritten_; }
    // The lossless file, made for editing programs, stores every frame of a still stretch.
    bool StoresEveryFrame() const { return options_.quality == ExportQuality::Lossless; }
    // Ends the streams (the music fades out over the last second) and puts the file in place.
    void Finish();

private:
    class Streams;

    // The stages of Open.
    void CreateFile();
    void OpenFormat(const char *muxer);
    void OpenVideo(const char *codecName);
    void OpenAudio(const char *codecName);
    void WriteHeader();

    // The first music sample under video frame FRAME.
    std::int64_t AudioSampleAt(std::int64_t frame) const;
    // Encodes FRAME as the picture of frame time INDEX, with the music up to it; STILL: it
    // begins a still stretch and is encoded at a higher quality.
    void EncodeVideoFrame(const AVFrame &frame, std::int64_t index, bool still);
    void EncodeAudioUntil(std::int64_t sample, std::int64_t end);

    Options options_;
    std::unique_ptr<Streams> streams_;
    Soundtrack *soundtrack_ = nullptr;
    std::unique_ptr<ReplacementFile> file_;
    std::int64_t framesWritten_ = 0;
    // The frame time of each frame handed to the encoder, in order.
    std::vector<std::int64_t> frameTimes_;
};

}  // namespace lumetta
