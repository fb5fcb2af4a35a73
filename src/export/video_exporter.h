// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/export_settings.h"
#include "export/slide_renderer.h"
#include "export/video_clock.h"
#include "show/show_project.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace lumetta {

class TTransitionEffect;

class FrameConverter;
class FrameQueue;
class VideoEncoder;

// Makes a video of a show: every slide composed as the player composes it on a screen of the
// video's size and held for the show's interval, the transitions the player would choose drawn
// at the video's frame times as the paced loop would draw them, and the music under it. Frames
// are rendered on the thread that runs Run while another thread encodes them; a picture held on
// screen is converted once, however many frames show it.
class VideoExporter
{
public:
    enum class Outcome { Done, Cancelled, Failed };

    // Frames encoded so far and the frames the video is expected to have (called on the
    // encoding thread).
    using ProgressHandler = std::function<void(std::int64_t done, std::int64_t expected)>;
    // A problem that does not stop the export (an unreadable picture or track).
    using WarningHandler = std::function<void(const QString &message)>;

    // Takes a copy of the project, so the project may change meanwhile.
    VideoExporter(const ShowProject &project, const ExportSettings &settings, const QString &target);
    ~VideoExporter();

    // Why TARGET cannot take a video of PROJECT: no video extension, a folder, a special or
    // read-only file, or one of the show's own files (also through a link); the message names it.
    static std::optional<QString> TargetProblem(const ShowProject &project, const QString &target);

    void SetProgressHandler(ProgressHandler handler) { progress_ = std::move(handler); }
    void SetWarningHandler(WarningHandler handler) { warn_ = std::move(handler); }

    // Checks the target (TargetProblem) and the settings, and builds the background and the caption bar; needs the GUI
    // thread. The error text, or nothing when Run may follow.
    std::optional<QString> Prepare();
    // Renders and encodes the video; on any one thread after Prepare. The target is replaced
    // only when the outcome is Done.
    Outcome Run();
    // Asks a running export to stop soon; safe on any thread.
    void Cancel() { cancelled_ = true; }

    const QString &ErrorText() const { return error_; }
    // The frames of a show whose transitions fit in its slides' times.
    std::int64_t ExpectedFrames() const;

private:
    struct Stopped
    {
    };

    void RenderShow();
    // Runs one transition from `from` to `to` starting at `startMs`; returns when it ends.
    std::int64_t RunEffect(TTransitionEffect &effect, const QImage &from, const QImage &to, std::int64_t startMs);
    void Encode();
    // Shows `area` with the current caption bar for `count` frames.
    void Emit(const QImage &area, std::int64_t count);
    void EmitUntil(std::int64_t ms, const QImage &area);
    // Shows the slide until MS: its motion frame by frame when it moves, and leaves in SHOWN
    // what it shows at MS.
    void EmitSlideUntil(std::int64_t ms, QImage &shown);
    void Warn(const QString &message);

    ExportSettings settings_;
    QString target_;
    ShowProject project_;
    std::int64_t intervalMs_ = 0;
    // How long each slide shows: the show's interval or its own time, fitted to the music.
    QList<std::int64_t> durations_;
    VideoClock clock_;

    std::unique_ptr<SlideRenderer> renderer_;
    // The slide shown, when it moves, and when its motion began (show time).
    std::optional<SlideRenderer::MovingSlide> moving_;
    double motionStartMs_ = 0;
    QImage captionBar_;
    FrameConverter *converter_ = nullptr;
    FrameQueue *queue_ = nullptr;
    VideoEncoder *encoder_ = nullptr;
    std::int64_t cursor_ = 0;
    std::int64_t stepStartMs_ = 0;

    ProgressHandler progress_;
    WarningHandler warn_;
    std::atomic<bool> cancelled_ = false;
    QString error_;
    QString encodingError_;
};

}  // namespace lumetta
