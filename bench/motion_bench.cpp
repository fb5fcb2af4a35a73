// SPDX-License-Identifier: GPL-3.0-or-later
// A slide's motion: the cost of one frame resampled from a 24-megapixel photo prepared at the
// detail a gentle zoom and a deep one want, at 1920 x 1080 and 3840 x 2160, beside a memcpy of
// the frame; and, on a real screen (run under Xvfb at 1920 x 1080), the processor's share and the
// share of 60 Hz slots with a new frame while a 10-second motion slide shows. Run it on one core
// (taskset -c 0) for the per-frame goal.
#include "jpeg_sample.h"
#include "media/picture.h"
#include "player/motion_frames.h"
#include "player/motion_playback.h"
#include "player/player_window.h"
#include "show/show_project.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstring>
#include <vector>

using namespace lumetta;

namespace {

QString PhotoPath()
{
    return sampleJpegFile(6000, 4000);
}

const Picture &Photo()
{
    static const Picture photo = [] {
        Picture picture = Picture::Load(PhotoPath());
        picture.DecodeNow();
        return picture;
    }();
    return photo;
}

double ProcessorMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// Arguments: screen width, height, and the detail (in tenths) the motion wants.
void BM_MotionFrame(benchmark::State &state)
{
    const QSize screen(int(state.range(0)), int(state.range(1)));
    const double detail = double(state.range(2)) / 10;
    // A zoom to the closest part the detail serves, filling the screen.
    const double closest = 1 / detail;
    const SlideMotion motion{{}, {(1 - closest) / 2, (1 - closest) / 3, closest, closest}, SlideMotion::Easing::Linear};
    const QImage source = Photo().Scaled(MotionFrames::SourceSize(Photo().size(), screen, detail));
    MotionFrames frames(source, screen, motion, 10000);
    double ms = 0;
    const double processorBefore = ProcessorMs();
    for (auto _ : state) {
        benchmark::DoNotOptimize(frames.FrameAt(ms).constBits());
        ms += 1000.0 / 60;
        if (ms > 10000)
            ms = 0;
    }
    // Qt may spread the painting over threads: the process's time counts them all.
    state.counters["processor_ms"] = (ProcessorMs() - processorBefore) / double(state.iterations());
    state.counters["source_mpix"] = double(source.width()) * source.height() / 1e6;
}
BENCHMARK(BM_MotionFrame)
    ->Args({1920, 1080, 12})
    ->Args({1920, 1080, 20})
    ->Args({3840, 2160, 12})
    ->Args({3840, 2160, 20})
    ->Unit(benchmark::kMillisecond);

void BM_FrameMemcpy(benchmark::State &state)
{
    const std::size_t bytes = std::size_t(state.range(0)) * std::size_t(state.range(1)) * 4;
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_FrameMemcpy)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

// The player showing a moving slide for 10 seconds of the photo on the whole screen.
void BM_MotionSlideOnScreen(benchmark::State &state)
{
    ShowProject project;
    project.Pictures() = {PhotoPath()};
    // A manual show: no step comes, and a slide without a time moves for 10 seconds.
    project.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("Manual"));
    project.Settings().Put(ShowSettings::PictureSizeLine, QStringLiteral("100"));
    project.Settings().Put(ShowSettings::CaptionLine, QStringLiteral("clSilver"));
    SlideDetails details;
    details.motion = SlideMotion{{}, {0.1, 0.1, 0.8, 0.8}, SlideMotion::Easing::EaseInOut};
    project.Story().SetSlide(0, details);
    for (auto _ : state) {
        PlayerWindow window;
        window.StartShow(project);
        window.show();
        window.SetUpShow();
        MotionPlayback &motion = *window.Motion();
        const double refresh = window.ShowScreen() ? window.ShowScreen()->refreshRate() : 60;
        const double processorBefore = ProcessorMs();
        const int framesBefore = motion.FramesDrawn();
        QElapsedTimer wall;
        wall.start();
        // The event loop sleeps between frames as in a show; the end is looked for now and then.
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &loop, [&loop, &motion] {
            if (!motion.IsMoving())
                loop.quit();
        });
        check.start(100);
        loop.exec();
        const double wallMs = double(wall.elapsed());
        state.SetIterationTime(wallMs / 1000);
        state.counters["motion_ms"] = motion.Frames().DurationMs();
        state.counters["processor_share"] = (ProcessorMs() - processorBefore) / wallMs;
        state.counters["frames"] = motion.FramesDrawn() - framesBefore;
        state.counters["slots_with_frame"] = (motion.FramesDrawn() - framesBefore) / (wallMs / 1000 * refresh);
        state.counters["refresh_hz"] = refresh;
        window.close();
    }
}
BENCHMARK(BM_MotionSlideOnScreen)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
