// SPDX-License-Identifier: GPL-3.0-or-later
// Where a circle pass's time goes: the rings of a whole unpaced pass (every radius from 1 to the
// corners) found and counted, then found and copied from one frame into another as the pass
// copies them, at three sizes, beside a memcpy of one frame. The copy's share per run is what the
// memory costs a ring: runs of a pixel or two, each on its own row, in two frames.

#include "transitions/core/frames/circle_rings.h"
#include "transitions/core/shapes/pixel_run_copier.h"
#include "transitions/engine/bitmap.h"
#include "transitions/engine/noise_picture.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

using namespace lumetta;

namespace {

QSize SizeOf(const benchmark::State &state)
{
    return {int(state.range(0)), int(state.range(1))};
}

int LastRadius(QSize size)
{
    return int(std::ceil(std::hypot(size.width() / 2.0, size.height() / 2.0))) + 1;
}

// Runs of a pass, and the time per run (shown in seconds with a prefix: 9.3ns).
void SetRuns(benchmark::State &state, long long runs)
{
    state.counters["runs"] = double(runs);
    state.counters["per_run"] =
        benchmark::Counter(double(runs), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RingsFound(benchmark::State &state)
{
    const QSize size = SizeOf(state);
    long long runs = 0;
    for (auto _ : state) {
        CircleRings rings(size.width() / 2, size.height() / 2, size.width(), size.height(), true);
        runs = 0;
        for (int r = 1; r <= LastRadius(size); ++r)
            rings.MoveTo(r, [&runs](int, int, int) { ++runs; });
        benchmark::DoNotOptimize(runs);
    }
    SetRuns(state, runs);
}

void BM_RingsCopied(benchmark::State &state)
{
    const QSize size = SizeOf(state);
    const QImage from = AlignedCopy(NoisePicture(size, 1));
    QImage to = AlignedCopy(NoisePicture(size, 2));
    const PixelRunCopierOf<4> copier(from.constBits(), from.bytesPerLine(), to.bits(), to.bytesPerLine(), size.width(),
                                     size.height(), 4);
    long long runs = 0;
    for (auto _ : state) {
        CircleRings rings(size.width() / 2, size.height() / 2, size.width(), size.height(), true);
        runs = 0;
        for (int r = 1; r <= LastRadius(size); ++r)
            rings.MoveTo(r, [&runs, &copier](int y, int x0, int x1) {
                ++runs;
                copier(y, x0, x1);
            });
        benchmark::ClobberMemory();
    }
    SetRuns(state, runs);
}

void BM_FrameMemcpy(benchmark::State &state)
{
    const QSize size = SizeOf(state);
    const QImage from = AlignedCopy(NoisePicture(size, 1));
    QImage to = AlignedCopy(NoisePicture(size, 2));
    for (auto _ : state) {
        std::memcpy(to.bits(), from.constBits(), std::size_t(to.sizeInBytes()));
        benchmark::ClobberMemory();
    }
}

void Sizes(benchmark::internal::Benchmark *b)
{
    b->Args({640, 360})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_RingsFound)->Apply(Sizes);
BENCHMARK(BM_RingsCopied)->Apply(Sizes);
BENCHMARK(BM_FrameMemcpy)->Apply(Sizes);

BENCHMARK_MAIN();
