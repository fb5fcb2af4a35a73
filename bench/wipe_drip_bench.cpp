// Frame cost of the wipe and drip effects at 1920 x 1080, 32 bits, beside a memcpy of the bytes a
// frame changes. Each iteration runs one unpaced headless pass; frame_us = pass time / (N - 1).
#include "transitions/teDrip.h"
#include "transitions/teRows.h"
#include "transitions/teWipe.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int W = 1920;
constexpr int H = 1080;

QImage Noise(std::uint32_t seed)
{
    QImage image(W, H, QImage::Format_RGB32);
    std::mt19937 gen(seed);
    for (int y = 0; y < H; ++y) {
        auto *row = reinterpret_cast<std::uint32_t *>(image.scanLine(y));
        for (int x = 0; x < W; ++x)
            row[x] = 0xFF000000u | (gen() & 0xFFFFFFu);
    }
    return image;
}

// Median microseconds of a memcpy of bytes, cold destination excluded by a warm-up copy.
double MemcpyMicros(std::size_t bytes)
{
    std::vector<unsigned char> src(bytes, 1), dst(bytes);
    std::vector<double> times;
    for (int i = 0; i < 41; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    std::nth_element(times.begin(), times.begin() + 20, times.end());
    return times[20];
}

// Runs passes of effect; changedBytes(frames) is the average number of bytes one frame changes.
void RunPasses(benchmark::State &state, TTransitionEffect &effect,
               const std::function<double(int frames)> &changedBytes)
{
    SetScreenBitsPerPixel(32);
    lumetta::SetReferenceKernels(state.range(0) != 0);
    const QImage from = Noise(1), to = Noise(2);
    QImage canvas;
    int frames = 0;
    TTEStepping stepping;
    stepping.PassStarted = [&](int, int count) { frames = count; };
    for (auto _ : state)
        effect.ExecuteOnImages(from, to, canvas, &stepping);
    lumetta::SetReferenceKernels(false);
    const double drawn = std::max(frames - 1, 1);
    state.counters["frames"] = frames;
    state.counters["frame_us"] =
        benchmark::Counter(drawn * 1e-6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    const double bytes = changedBytes(frames);
    const double copy = MemcpyMicros(std::size_t(bytes));
    state.counters["changed_kB"] = bytes / 1024;
    state.counters["memcpy_us"] = copy;
}

void WipeStraight(benchmark::State &state, TTransitionEffect::TTEEffectDirection d, int band)
{
    TWipeTransition wipe;
    wipe.SetDirection(d);
    wipe.SetBandWidth(band);
    const int along = (d == TTransitionEffect::tedRight || d == TTransitionEffect::tedLeft) ? H : W;
    // The band, the strip of one step and the seam column or row.
    RunPasses(state, wipe, [&](int) { return double(band + (band > 0 ? 2 : 1)) * along * 4; });
}

void WipeArea(benchmark::State &state, TTransitionEffect::TTEEffectDirection d)
{
    TWipeTransition wipe;
    wipe.SetDirection(d);
    // Every pixel changes once over the pass.
    RunPasses(state, wipe, [](int frames) { return double(W) * H * 4 / std::max(frames - 1, 1); });
}

void Drip(benchmark::State &state, TTransitionEffect::TTEEffectDirection d)
{
    TDripTransition drip;
    drip.SetDirection(d);
    const bool rows = d == TTransitionEffect::tedDown || d == TTransitionEffect::tedUp;
    const int across = rows ? W : H;
    // Frame f rewrites the strip and every unsettled line: N - f + 1 lines.
    RunPasses(state, drip, [&](int frames) {
        double lines = 0;
        for (int f = 1; f < frames; ++f)
            lines += frames - f + 1;
        return lines / std::max(frames - 1, 1) * across * 4;
    });
}

}  // namespace

// Argument: 0 = fast kernels, 1 = reference kernels.
BENCHMARK_CAPTURE(WipeStraight, right_band20, TTransitionEffect::tedRight, 20)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WipeStraight, down_band50, TTransitionEffect::tedDown, 50)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WipeStraight, left_band50, TTransitionEffect::tedLeft, 50)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WipeStraight, right_hard, TTransitionEffect::tedRight, 0)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WipeArea, down_right, TTransitionEffect::tedDownRight)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WipeArea, in, TTransitionEffect::tedIn)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Drip, left, TTransitionEffect::tedLeft)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Drip, down, TTransitionEffect::tedDown)->Arg(0)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
