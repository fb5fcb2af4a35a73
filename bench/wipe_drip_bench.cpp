// SPDX-License-Identifier: GPL-3.0-or-later
// Frame cost of the wipe and drip effects at 1920 x 1080, 32 bits, beside memcpy of the pixels
// each frame changes. Every iteration runs one unpaced headless pass.
//   draw_us   the effect's DrawFrame per frame (its own drawing, without the engine's Flush)
//   frame_us  (pass - the same pass drawing no frames) / (N - 1): DrawFrame, Flush and the loop
//   rowcopy_us  the same frames done as row-by-row memcpy of just the changed rectangles between
//             two 1080p pictures, in place
//   memcpy_us one contiguous memcpy of a frame's average changed bytes
// x_draw and x_frame divide by rowcopy_us. Times are medians over the passes.
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/effects/drip_transition.h"
#include "transitions/effects/wipe_transition.h"
#include "transitions/engine/headless_run.h"
#include "transitions/engine/noise_picture.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

using namespace lumetta;

namespace {

constexpr int W = 1920;
constexpr int H = 1080;
using TD = TTransitionEffect::EffectDirection;
// Rectangles frame f of n changes.
using Changes = std::function<std::vector<QRect>(int f, int n)>;

double ThreadMicros()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

double Median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Effect whose DrawFrame calls are timed (thread CPU time: the machine is shared).
template <class Effect>
class Timed : public Effect
{
public:
    double drawMicros = 0;

protected:
    void DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame) override
    {
        const double t0 = ThreadMicros();
        Effect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
        drawMicros += ThreadMicros() - t0;
    }
};

QRect Ltrb(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t).intersected(QRect(0, 0, W, H));
}

// Microseconds of the frames 1..n-1 done as plain row copies of their changed rectangles.
double CopyPassMicros(const QImage &from, QImage &to, int n, const Changes &changes, double &bytes)
{
    const uchar *s = from.constBits();
    uchar *d = to.bits();
    const qsizetype stride = from.bytesPerLine();
    std::vector<std::vector<QRect>> frames;
    bytes = 0;
    for (int f = 1; f < n; ++f) {
        frames.push_back(changes(f, n));
        for (const QRect &r : frames.back())
            bytes += double(std::max(r.width(), 0)) * std::max(r.height(), 0) * 4;
    }
    bytes /= std::max(n - 1, 1);
    std::vector<double> times;
    for (int rep = 0; rep < 5; ++rep) {
        const double t0 = ThreadMicros();
        for (const auto &rects : frames)
            for (const QRect &r : rects)
                for (int y = r.top(); y <= r.bottom(); ++y)
                    std::memcpy(d + y * stride + r.left() * 4, s + y * stride + r.left() * 4,
                                std::size_t(r.width()) * 4);
        benchmark::ClobberMemory();
        times.push_back(ThreadMicros() - t0);
    }
    return Median(times);
}

double MemcpyMicros(std::size_t bytes)
{
    std::vector<unsigned char> src(bytes, 1), dst(bytes);
    std::vector<double> times;
    for (int i = 0; i < 41; ++i) {
        const double t0 = ThreadMicros();
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
        times.push_back(ThreadMicros() - t0);
    }
    return Median(times);
}

template <class Effect>
void RunPasses(benchmark::State &state, Timed<Effect> &effect, const Changes &changes)
{
    SetScreenBitsPerPixel(32);
    lumetta::SetReferenceKernels(state.range(0) != 0);
    const QImage from = NoisePicture({W, H}, 1), to = NoisePicture({W, H}, 2);
    QImage canvas;
    int frames = 0;
    FrameStepping stepping;
    stepping.passStarted = [&](int, int count) { frames = count; };
    std::vector<double> passes, draws;
    for (auto _ : state) {
        effect.drawMicros = 0;
        const double t0 = ThreadMicros();
        canvas = RunHeadless(effect, from, to, stepping).final;
        passes.push_back(ThreadMicros() - t0);
        draws.push_back(effect.drawMicros);
    }
    // The same pass drawing no frame: set-up, pictures and the final copy.
    stepping.step = 1 << 30;
    std::vector<double> empty;
    for (int i = 0; i < 5; ++i) {
        const double t0 = ThreadMicros();
        canvas = RunHeadless(effect, from, to, stepping).final;
        empty.push_back(ThreadMicros() - t0);
    }
    lumetta::SetReferenceKernels(false);
    const double drawn = std::max(frames - 1, 1);
    QImage target = from;
    double bytes = 0;
    const double draw = Median(draws) / drawn;
    const double frame = (Median(passes) - Median(empty)) / drawn;
    const double copy = CopyPassMicros(to, target, frames, changes, bytes) / drawn;
    state.counters["frames"] = frames;
    state.counters["draw_us"] = draw;
    state.counters["frame_us"] = frame;
    state.counters["changed_kB"] = bytes / 1024;
    state.counters["rowcopy_us"] = copy;
    state.counters["memcpy_us"] = MemcpyMicros(std::size_t(bytes));
    state.counters["x_draw"] = draw / copy;
    state.counters["x_frame"] = frame / copy;
}

void WipeRight(benchmark::State &state, int bw)
{
    Timed<TWipeTransition> wipe;
    wipe.SetBandWidth(bw);
    // Band and the strip with its seam column; without a band, one column.
    RunPasses(state, wipe, [bw](int f, int) {
        return std::vector<QRect>{bw ? Ltrb(f - bw - 1, 0, f + 1, H) : Ltrb(f - 1, 0, f, H)};
    });
}

void WipeLeft(benchmark::State &state, int bw)
{
    Timed<TWipeTransition> wipe;
    wipe.SetDirection(TTransitionEffect::tedLeft);
    wipe.SetBandWidth(bw);
    RunPasses(state, wipe, [bw](int f, int) {
        return std::vector<QRect>{Ltrb(W - f - 1, 0, W + bw - f - 1, H), Ltrb(W + bw - f, 0, W + bw - f + 2, H)};
    });
}

void WipeDown(benchmark::State &state, int bw)
{
    Timed<TWipeTransition> wipe;
    wipe.SetDirection(TTransitionEffect::tedDown);
    wipe.SetBandWidth(bw);
    RunPasses(state, wipe, [bw](int f, int) { return std::vector<QRect>{Ltrb(0, f - bw - 1, W, f + 1)}; });
}

int Share(int total, int n, int f)
{
    return int(std::nearbyint(double(total) / n * f));
}

void WipeDownRight(benchmark::State &state)
{
    Timed<TWipeTransition> wipe;
    wipe.SetDirection(TTransitionEffect::tedDownRight);
    RunPasses(state, wipe, [](int f, int n) {
        const int x0 = Share(W, n, f - 1), y0 = Share(H, n, f - 1), x = Share(W, n, f), y = Share(H, n, f);
        return std::vector<QRect>{Ltrb(0, y0, x, y), Ltrb(x0, 0, x, y0)};
    });
}

void WipeIn(benchmark::State &state)
{
    Timed<TWipeTransition> wipe;
    wipe.SetDirection(TTransitionEffect::tedIn);
    RunPasses(state, wipe, [](int f, int n) {
        const int l = Share(W, n, f - 1) / 2, t = Share(H, n, f - 1) / 2, r = W - l, b = H - t;
        const int dx = Share(W, n, f) / 2, dy = Share(H, n, f) / 2;
        return std::vector<QRect>{Ltrb(l, t, r, dy), Ltrb(l, dy, dx, H - dy), Ltrb(W - dx, dy, r, H - dy),
                                  Ltrb(l, H - dy, r, b)};
    });
}

void DripLeft(benchmark::State &state)
{
    Timed<TDripTransition> drip;
    RunPasses(state, drip, [](int f, int) { return std::vector<QRect>{Ltrb(f - 1, 0, W, H)}; });
}

void DripDown(benchmark::State &state)
{
    Timed<TDripTransition> drip;
    drip.SetDirection(TTransitionEffect::tedDown);
    RunPasses(state, drip, [](int f, int) { return std::vector<QRect>{Ltrb(0, 0, W, H - f + 1)}; });
}

}  // namespace

// Argument: 0 = fast kernels, 1 = reference kernels.
BENCHMARK_CAPTURE(WipeRight, band20, 20)->Arg(0)->Arg(1)->Iterations(7);
BENCHMARK_CAPTURE(WipeRight, hard, 0)->Arg(0)->Iterations(7);
BENCHMARK_CAPTURE(WipeLeft, band50, 50)->Arg(0)->Iterations(7);
BENCHMARK_CAPTURE(WipeDown, band50, 50)->Arg(0)->Arg(1)->Iterations(7);
BENCHMARK(WipeDownRight)->Arg(0)->Iterations(7);
BENCHMARK(WipeIn)->Arg(0)->Iterations(7);
BENCHMARK(DripLeft)->Arg(0)->Arg(1)->Iterations(7);
BENCHMARK(DripDown)->Arg(0)->Iterations(7);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
