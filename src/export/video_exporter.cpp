// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_exporter.h"

#include "common/random.h"
#include "export/export_error.h"
#include "export/frame_converter.h"
#include "export/frame_queue.h"
#include "export/slide_renderer.h"
#include "export/soundtrack.h"
#include "export/video_encoder.h"
#include "media/picture_error.h"
#include "player/effect_catalogue.h"
#include "player/slide_sequencer.h"
#include "show/show_project.h"
#include "show/slide_transition.h"
#include "transitions/engine/headless_run.h"
#include "transitions/transitions.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <new>
#include <thread>

namespace lumetta {

namespace {

// Converted frames waiting for the encoder: enough to keep both threads busy.
constexpr std::size_t kQueuedFrames = 4;

ColorRef ColorRefOf(const QColor &colour)
{
    return ColorRef(colour.red()) | ColorRef(colour.green()) << 8 | ColorRef(colour.blue()) << 16;
}

}  // namespace

VideoExporter::VideoExporter(const ShowProject &project, const ExportSettings &settings, const QString &target)
    : settings_(settings),
      target_(QFileInfo(target).absoluteFilePath()),
      project_(project),
      clock_(settings.fps)
{
    const std::optional<int> seconds = project_.Settings().AdvanceSeconds();
    intervalMs_ = seconds ? std::int64_t(*seconds) * 1000 : std::llround(settings.slideSeconds * 1000);
    durations_ = project_.Story().Durations(int(project_.Pictures().size()), intervalMs_, std::nullopt);
}

VideoExporter::~VideoExporter() = default;

std::int64_t VideoExporter::ExpectedFrames() const
{
    std::int64_t total = 0;
    for (std::int64_t duration : durations_)
        total += duration;
    return clock_.FirstFrameAt(total);
}

std::optional<QString> VideoExporter::TargetProblem(const ShowProject &project, const QString &target)
{
    if (!ContainerForPath(target))
        return QStringLiteral("Cannot write %1: the name must end in .mp4, .webm or .mkv").arg(target);
    if (const std::optional<QString> problem = ReplacementFile::TargetProblem(target))
        return QStringLiteral("Cannot write %1: %2").arg(target, *problem);
    if (const std::optional<QString> role = project.OwnFileRole(target))
        return QStringLiteral("Cannot write %1: it is %2").arg(target, *role);
    return std::nullopt;
}

std::optional<QString> VideoExporter::Prepare()
{
    if (const std::optional<QString> problem = TargetProblem(project_, target_))
        return problem;
    if (const std::optional<QString> problem =
            CheckVideoSettings(*ContainerForPath(target_), settings_.quality, settings_.size, settings_.fps))
        return problem;
    if (intervalMs_ <= 0)
        return QStringLiteral("A slide must show for more than 0 seconds");
    if (project_.Pictures().isEmpty())
        return QStringLiteral("The show holds no pictures");
    // A video has an end, so a manual show fits its music too.
    if (project_.Story().FitToMusic() && project_.Settings().MusicOn())
        durations_ = project_.Story().Durations(int(project_.Pictures().size()), intervalMs_,
                                                Soundtrack::PlaylistLengthMs(project_.Playlist()));
    try {
        renderer_ = std::make_unique<SlideRenderer>(project_.Settings(), settings_.size);
    } catch (const PictureError &error) {
        return error.Message();
    }
    return std::nullopt;
}

VideoExporter::Outcome VideoExporter::Run()
{
    if (!renderer_) {
        if (error_.isEmpty())
            error_ = QStringLiteral("The export was not prepared");
        return Outcome::Failed;
    }
    // Failures reach the user through our own messages, naming the file.
    av_log_set_level(AV_LOG_QUIET);
    try {
        std::unique_ptr<Soundtrack> soundtrack;
        if (project_.Settings().MusicOn() && !project_.Playlist().isEmpty()) {
            soundtrack = std::make_unique<Soundtrack>(project_.Playlist(), project_.Settings().RepeatMusic(),
                                                      [this](const QString &message) { Warn(message); });
            soundtrack->Open();
        }
        VideoEncoder encoder;
        encoder.Open(
            {target_, *ContainerForPath(target_), settings_.quality, settings_.size, settings_.fps, settings_.existing},
            soundtrack.get());
        FrameConverter converter(settings_.size, encoder.PixelFormat());
        FrameQueue queue(kQueuedFrames);
        encoder_ = &encoder;
        converter_ = &converter;
        queue_ = &queue;
        cursor_ = 0;
        encodingError_.clear();
        std::thread encoding([this] { Encode(); });
        auto stop = qScopeGuard([&] {
            queue.Abandon();
            encoding.join();
            encoder_ = nullptr;
            converter_ = nullptr;
            queue_ = nullptr;
        });
        try {
            RenderShow();
        } catch (const Stopped &) {
        }
        queue.EndInput();
        encoding.join();
        stop.dismiss();
        encoder_ = nullptr;
        converter_ = nullptr;
        queue_ = nullptr;
        if (cancelled_)
            return Outcome::Cancelled;
        if (!encodingError_.isEmpty())
            throw ExportError(encodingError_);
        encoder.Finish();
        if (progress_)
            progress_(encoder.FramesWritten(), encoder.FramesWritten());
    } catch (const ExportError &error) {
        error_ = error.Message();
        return Outcome::Failed;
    } catch (const std::bad_alloc &) {
        error_ = QStringLiteral("Not enough memory to export %1").arg(target_);
        return Outcome::Failed;
    }
    return cancelled_ ? Outcome::Cancelled : Outcome::Done;
}

void VideoExporter::Encode()
{
    const std::int64_t expected = ExpectedFrames();
    try {
        while (std::optional<FrameQueue::Item> item = queue_->Pop()) {
            // Where every frame is encoded, a long still is written frame by frame, so that
            // Cancel and the progress keep up with it.
            const std::int64_t step = encoder_->StoresEveryFrame() ? 1 : item->repeat;
            for (std::int64_t done = 0; done < item->repeat; done += step) {
                if (cancelled_) {
                    queue_->Abandon();
                    return;
                }
                encoder_->WriteVideo(*item->frame, step);
                if (progress_)
                    progress_(encoder_->FramesWritten(), std::max(expected, encoder_->FramesWritten() + 1));
            }
        }
    } catch (const ExportError &error) {
        encodingError_ = error.Message();
        queue_->Abandon();
    } catch (const std::bad_alloc &) {
        encodingError_ = QStringLiteral("Not enough memory to export %1").arg(target_);
        queue_->Abandon();
    }
}

void VideoExporter::Warn(const QString &message)
{
    if (warn_)
        warn_(message);
}

void VideoExporter::Emit(const QImage &area, std::int64_t count)
{
    if (cancelled_)
        throw Stopped();
    if (count <= 0)
        return;
    if (!queue_->Push({converter_->Convert(renderer_->Frame(area, captionBar_)), count}))
        throw Stopped();
    cursor_ += count;
}

void VideoExporter::EmitUntil(std::int64_t ms, const QImage &area)
{
    Emit(area, clock_.FirstFrameAt(ms) - cursor_);
}

void VideoExporter::RenderShow()
{
    TTransitionList effects;
    LoadEffectCatalogue(effects, false);

    // The effects seed the shared generator from the clock: with a seed, the clock reads the
    // seed plus the show time, so the same seed gives the same video.
    auto restoreClock = qScopeGuard([] { SetClockSeedSource({}); });
    if (settings_.seed) {
        const std::uint32_t seed = *settings_.seed;
        SetRandSeed(seed);
        SetClockSeedSource([this, seed] { return seed + std::uint32_t(stepStartMs_); });
    } else {
        Randomize();
    }

    QImage shown = renderer_->BareArea();
    const int count = int(project_.Pictures().size());
    QSet<QString> reported;
    int nextSlide = 0;
    std::int64_t steps = 0;
    std::int64_t previousEnd = 0;
    // When the next step is due: the times of the slides shown so far, added up.
    std::int64_t due = 0;
    for (;;) {
        const std::int64_t start = std::max(due, previousEnd);
        EmitUntil(start, shown);
        stepStartMs_ = start;
        const std::optional<int> effect = ChooseEffect(project_.EffectSelection());
        // As in the player's step: an unreadable picture is reported once and skipped.
        QImage slide;
        int index = -1;
        while (index < 0 && nextSlide < count) {
            const QString &path = project_.Pictures().at(nextSlide);
            try {
                slide = renderer_->ComposeSlide(path, project_.Story().Slide(nextSlide).caption);
                index = nextSlide;
            } catch (const PictureError &error) {
                if (!reported.contains(path)) {
                    reported.insert(path);
                    Warn(error.Message());
                }
            } catch (const std::bad_alloc &) {
                Warn(PictureError(path, QStringLiteral("not enough memory")).Message());
            }
            ++nextSlide;
        }
        if (index < 0)
            break;  // the end of the list: the show closes at this step
        captionBar_ = renderer_->CaptionBar(index, project_.Pictures().at(index));
        const SlideTransition &own = project_.Story().Slide(index).transition;
        const std::optional<int> into = EffectIntoSlide(own, effect);
        const bool animate = project_.Settings().EffectsOn() || own.kind == SlideTransition::Kind::Effect;
        std::int64_t end = start;
        // The first slide shows at once: the first frame, the picture galleries and browsers
        // show for the video, is the show's first slide rather than its empty background. The
        // effect is still drawn, so the later steps choose as the player's do.
        if (into && animate && steps > 0)
            end = RunEffect(*effects.Items(*into), shown, slide, start);
        shown = slide;
        previousEnd = end;
        due += durations_.value(index, intervalMs_);
        ++steps;
    }
    if (steps == 0)
        throw ExportError(QStringLiteral("None of the show's pictures can be read"));
    EmitUntil(std::max(due, previousEnd), shown);
}

std::int64_t VideoExporter::RunEffect(TTransitionEffect &effect, const QImage &from, const QImage &to,
                                      std::int64_t startMs)
{
    if (!effect.CanExecute())
        return startMs;
    const int passes = effect.GetPassCount();
    const bool halved = passes == 2 && effect.Pass2Options()->DistributedTime();
    const int passMs = halved ? effect.Milliseconds() / 2 : effect.Milliseconds();
    const int animatedPasses = passes == 2 && !effect.FirstPassAnimated() ? 1 : passes;
    // An unpaced pass draws every frame as fast as it can: one video frame each.
    const bool paced = passMs > 0;

    std::int64_t passStart = startMs;
    std::int64_t passEnd = 0;
    int frameCount = 0;
    bool firstPass = true;
    FrameStepping stepping;
    stepping.passStarted = [&](int, int frames) {
        frameCount = frames;
        if (!firstPass)
            passStart += passMs;
        firstPass = false;
        if (paced)
            passEnd = clock_.FirstFrameAt(passStart + passMs);
    };
    stepping.nextFrame = [&](int, int frames, int prev) {
        if (!paced)
            return prev + 1;
        if (cursor_ >= passEnd)
            return frames;
        return clock_.PacedFrameAt(cursor_, passStart, frames, passMs);
    };
    stepping.frameShown = [&](int, int frame, const QImage &canvas) {
        std::int64_t shows = 1;
        if (paced) {
            shows = 0;
            while (cursor_ + shows < passEnd
                   && clock_.PacedFrameAt(cursor_ + shows, passStart, frameCount, passMs) == frame)
                ++shows;
        }
        Emit(canvas, shows);
    };
    stepping.passShown = [&](int, const QImage &canvas) {
        if (paced)
            Emit(canvas, passEnd - cursor_);
    };
    try {
        RunHeadless(effect, from, to, stepping, ColorRefOf(renderer_->PanelColour()));
    } catch (const ExportError &) {
        throw;
    } catch (const std::exception &error) {
        // As in the player: the new slide simply shows.
        Warn(QString::fromLocal8Bit(error.what()));
    }
    const std::int64_t drawnUntil = std::int64_t(std::ceil(clock_.TimeOf(cursor_)));
    return paced ? std::max(startMs + std::int64_t(animatedPasses) * passMs, drawnUntil) : drawnUntil;
}

}  // namespace lumetta
