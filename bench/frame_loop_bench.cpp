// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the engine's frame loop per frame at 1920 x 1080, 32 bits: an unpaced headless pass of
// an effect that draws nothing, so what is measured is Flush (the copy of the update rectangle
// to the canvas) and the loop itself, beside a memcpy of one whole frame; and how closely a paced
// pass keeps its duration.

#include "transitions/engine/headless_run.h"
#include "transitions/engine/timed_transition_effect.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstring>
#include <vector>

using namespace lumetta;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 60;

class TIdleTransition : public TTimedTransitionEffect
{
public:
    QRect update;
    bool NeedWorkBitmap() const override { return true; }
    void Initialize(PassData &, int &FrameCount) override { FrameCount = kFrames; }
    void DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame) override
    {
        TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
        updateRect = update;
    }
};

QImage Picture(QRgb rgb)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

void RunPass(benchmark::State &state, const QRect &update)
{
    SetScreenBitsPerPixel(32);
    TIdleTransition effect;
    effect.update = update;
    const QImage from = Picture(0xFF102030), to = Picture(0xFF405060);
    QImage canvas;
    for (auto _ : state) {
        canvas = RunHeadless(effect, from, to).final;
        benchmark::DoNotOptimize(canvas.constBits());
    }
    // Milliseconds per drawn frame (shown in the seconds column of the counter).
    state.counters["frame_ms"] = benchmark::Counter(double(state.iterations()) * (kFrames - 1) / 1000.0,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PassWholeFrameFlush(benchmark::State &state)
{
    RunPass(state, QRect());
}
BENCHMARK(BM_PassWholeFrameFlush)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PassStripFlush(benchmark::State &state)
{
    RunPass(state, QRect(0, 0, 32, kHeight));
}
BENCHMARK(BM_PassStripFlush)->Unit(benchmark::kMillisecond)->UseRealTime();

// A paced 200 ms pass of whole-frame flushes: how far its end lands from the asked duration.
void BM_PacedPassDuration(benchmark::State &state)
{
    SetScreenBitsPerPixel(32);
    TIdleTransition effect;
    effect.SetMilliseconds(200);
    const QImage from = Picture(0xFF102030), to = Picture(0xFF405060);
    QImage canvas;
    double overshoot = 0;
    for (auto _ : state) {
        Stopwatch chrono;
        chrono.Start();
        canvas = RunHeadless(effect, from, to).final;
        overshoot += chrono.Elapsed() - 200;
    }
    state.counters["overshoot_ms"] = overshoot / double(state.iterations());
}
BENCHMARK(BM_PacedPassDuration)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_MemcpyFrame(benchmark::State &state)
{
    std::vector<unsigned char> source(size_t(kWidth) * kHeight * 4, 1), target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
    }
    state.counters["frame_ms"] = benchmark::Counter(double(state.iterations()) / 1000.0,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
