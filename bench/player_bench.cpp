// SPDX-License-Identifier: GPL-3.0-or-later
// The player on a real screen (run under Xvfb at 1920 x 1080): frames that reach the screen
// during 1700 ms transitions and how long each pass takes, and the time from a slide step's
// start to its Execute for a 24-megapixel JPEG beside the bare decode and the one scaling, and
// the start of a show whose first pictures are missing.
#include "jpeg_sample.h"
#include "media/picture.h"
#include "player/player_window.h"
#include "player/slide_composition.h"
#include "show/show_project.h"
#include "transitions/engine/noise_picture.h"
#include "transitions/transitions.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPaintEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace lumetta;

namespace {

using Clock = std::chrono::steady_clock;

QTemporaryDir &Folder()
{
    static QTemporaryDir dir;
    return dir;
}

// A screen-sized picture of coloured noise, so no two frames of a pass look alike.
QString ScreenPicture(const QString &name, quint32 seed)
{
    const QString path = Folder().filePath(name);
    if (QFile::exists(path))
        return path;
    NoisePicture(lumetta::PlayerWindow::ScreenSize(), seed).save(path, "BMP");
    return path;
}

QString BigJpeg()
{
    return sampleJpegFile(6000, 4000);
}

// Counts the paints of the engine's render window, i.e. frames presented on the screen, and the
// pixels they repaint.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    double pixels = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                pixels += double(r.width()) * r.height();
        }
        return false;
    }
};

struct Show
{
    lumetta::ShowProject project;
    lumetta::PlayerWindow window;

    Show(const QStringList &pictures, int effect)
    {
        project.Pictures() = pictures;
        project.EffectSelection() = {QString::number(effect)};
        project.Settings().Put(lumetta::ShowSettings::AdvanceLine, QStringLiteral("Manual"));
        project.Settings().Put(lumetta::ShowSettings::PictureSizeLine, QStringLiteral("100"));
        project.Settings().Put(lumetta::ShowSettings::CaptionLine, QStringLiteral("clSilver"));
        window.StartShow(project);
        window.show();
        window.SetUpShow();
    }
};

void BM_ScreenPass(benchmark::State &state)
{
    const int effectNumber = int(state.range(0));
    Show show({ScreenPicture(QStringLiteral("a.bmp"), 1), ScreenPicture(QStringLiteral("b.bmp"), 2)}, effectNumber);
    TTransitionEffect *effect = show.window.Effects()->Items(effectNumber);
    PaintCounter counter;
    Clock::time_point start, loopStart;
    double passMs = 0, loopMs = 0;
    effect->onBeforeTransition = [&](QObject *) {
        for (RenderWindow *window : show.window.SlideArea()->findChildren<RenderWindow *>())
            window->installEventFilter(&counter);
        counter.paints = 0;
        counter.pixels = 0;
        start = Clock::now();
    };
    effect->onStartTransition = [&](QObject *) { loopStart = Clock::now(); };
    effect->onEndTransition = [&](QObject *) {
        loopMs = std::chrono::duration<double, std::milli>(Clock::now() - loopStart).count();
    };
    effect->onAfterTransition = [&](QObject *) {
        passMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    double frames = 0, total = 0, loops = 0, pixels = 0;
    for (auto _ : state) {
        show.window.Sequencer().Click();
        state.SetIterationTime(passMs / 1000.0);
        frames += counter.paints;
        pixels += counter.pixels;
        total += passMs;
        loops += loopMs;
    }
    // pass_ms: Execute from start to end; loop_ms: the paced frame loop alone (aimed at 1700).
    state.counters["pass_ms"] = total / double(state.iterations());
    state.counters["loop_ms"] = loops / double(state.iterations());
    state.counters["frames"] = frames / double(state.iterations());
    state.counters["frames_per_s"] = frames / (loops / 1000.0);
    // Screens' worth of pixels repainted per pass.
    state.counters["screens_painted"] = pixels / double(state.iterations()) / (1920.0 * 1080.0);
    show.window.close();
}
// 13 "Wipe right", 3 "Blocks", 15 "Wipe down and left", 19 "Wipe in", all 1700 ms.
BENCHMARK(BM_ScreenPass)
    ->Arg(13)
    ->Arg(3)
    ->Arg(15)
    ->Arg(19)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_StepToExecuteBigJpeg(benchmark::State &state)
{
    Show show({ScreenPicture(QStringLiteral("a.bmp"), 1), BigJpeg()}, 13);
    TTransitionEffect *effect = show.window.Effects()->Items(13);
    effect->SetMilliseconds(1);
    Clock::time_point executeAt;
    effect->onBeforeTransition = [&](QObject *) { executeAt = Clock::now(); };
    for (auto _ : state) {
        show.window.Sequencer().SetNextSlide(1);
        const Clock::time_point start = Clock::now();
        show.window.Sequencer().Click();
        state.SetIterationTime(std::chrono::duration<double>(executeAt - start).count());
    }
    show.window.close();
}
BENCHMARK(BM_StepToExecuteBigJpeg)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// A show whose first N pictures are missing: the time from the start of the show to its first
// slide, which should grow in proportion to N.
void BM_SkipMissingPictures(benchmark::State &state)
{
    const int missing = int(state.range(0));
    QStringList pictures;
    for (int i = 0; i < missing; ++i)
        pictures << Folder().filePath(QStringLiteral("missing-%1.jpg").arg(i));
    pictures << ScreenPicture(QStringLiteral("a.bmp"), 1);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        Show show(pictures, -1);  // no effect: the time is the skipping alone
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.counters["ms_per_missing"] =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count() / missing;
        show.window.close();
    }
}
BENCHMARK(BM_SkipMissingPictures)->Arg(200)->Arg(1000)->Arg(4000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BareDecodeBigJpeg(benchmark::State &state)
{
    const QString path = BigJpeg();
    for (auto _ : state) {
        const lumetta::Picture picture = lumetta::Picture::Load(path);
        benchmark::DoNotOptimize(picture.Image().constBits());
    }
}
BENCHMARK(BM_BareDecodeBigJpeg)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ScaleBigJpegToSlide(benchmark::State &state)
{
    const lumetta::Picture picture = lumetta::Picture::Load(BigJpeg());
    picture.DecodeNow();
    const QSize slide = lumetta::SlideSize(picture.size(), lumetta::PlayerWindow::ScreenSize(), 100);
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.Scaled(slide).constBits());
}
BENCHMARK(BM_ScaleBigJpegToSlide)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
