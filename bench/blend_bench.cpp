// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the blend at 1920 x 1080, 32 bits, beside the memory traffic it cannot avoid.

#include "transitions/core/kernels/blend_kernels.h"
#include "transitions/effects/blend_transition.h"
#include "transitions/effects/fuse_transition.h"
#include "transitions/engine/bitmap.h"
#include "transitions/engine/headless_run.h"
#include "transitions/engine/noise_picture.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>

using namespace lumetta;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Frame buffers as the engine allocates them (bitmap.h), so memcpy runs at full speed.
struct Frames
{
    QImage oldImage = AlignedCopy(NoisePicture({kWidth, kHeight}, 1));
    QImage newImage = AlignedCopy(NoisePicture({kWidth, kHeight}, 2));
    QImage work = AlignedCopy(oldImage);
};

Frames &SharedFrames()
{
    static Frames frames;
    return frames;
}

void SetBytes(benchmark::State &state, qsizetype bytes)
{
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_Memcpy(benchmark::State &state)
{
    Frames &f = SharedFrames();
    for (auto _ : state) {
        std::memcpy(f.work.bits(), f.newImage.constBits(), std::size_t(f.work.sizeInBytes()));
        benchmark::ClobberMemory();
    }
    SetBytes(state, f.work.sizeInBytes());
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// The floor of any mix: read two frames, write one.
void BM_TwoReadsOneWrite(benchmark::State &state)
{
    Frames &f = SharedFrames();
    const auto *a = reinterpret_cast<const std::uint32_t *>(f.oldImage.constBits());
    const auto *b = reinterpret_cast<const std::uint32_t *>(f.newImage.constBits());
    auto *out = reinterpret_cast<std::uint32_t *>(f.work.bits());
    const qsizetype words = f.work.sizeInBytes() / 4;
    for (auto _ : state) {
        for (qsizetype i = 0; i < words; ++i)
            out[i] = a[i] | b[i];
        benchmark::ClobberMemory();
    }
    SetBytes(state, f.work.sizeInBytes());
}
BENCHMARK(BM_TwoReadsOneWrite)->Unit(benchmark::kMillisecond);

// One blend frame at level state.range(1) with kernel variant state.range(0).
void BM_BlendFrame(benchmark::State &state)
{
    Frames &f = SharedFrames();
    const BlendKernels variant = BlendKernelVariants()[std::size_t(state.range(0))];
    state.SetLabel(variant.name);
    const auto *o = reinterpret_cast<const std::uint32_t *>(f.oldImage.constBits());
    const auto *n = reinterpret_cast<const std::uint32_t *>(f.newImage.constBits());
    auto *out = reinterpret_cast<std::uint32_t *>(f.work.bits());
    const int words = int(f.work.sizeInBytes() / 4);
    const int level = int(state.range(1));
    for (auto _ : state) {
        variant.blendRow(o, n, out, words, level, BlendWordFormat::Bytes32);
        benchmark::ClobberMemory();
    }
    SetBytes(state, f.work.sizeInBytes());
}

void BlendFrameArgs(benchmark::internal::Benchmark *b)
{
    for (std::size_t v = 0; v < BlendKernelVariants().size(); ++v)
        for (int level : {11, 32})
            b->Args({std::int64_t(v), level});
}
BENCHMARK(BM_BlendFrame)->Apply(BlendFrameArgs)->Unit(benchmark::kMillisecond);

// The same frame written word for word, as the blend transition draws it.
void BM_BlendFrameWhole(benchmark::State &state)
{
    Frames &f = SharedFrames();
    const BlendKernels variant = BlendKernelVariants()[std::size_t(state.range(0))];
    state.SetLabel(variant.name);
    const auto *o = reinterpret_cast<const std::uint32_t *>(f.oldImage.constBits());
    const auto *n = reinterpret_cast<const std::uint32_t *>(f.newImage.constBits());
    auto *out = reinterpret_cast<std::uint32_t *>(f.work.bits());
    const int words = int(f.work.sizeInBytes() / 4);
    const int level = int(state.range(1));
    for (auto _ : state) {
        variant.blendRowWhole(o, n, out, words, level, BlendWordFormat::Bytes32);
        benchmark::ClobberMemory();
    }
    SetBytes(state, f.work.sizeInBytes());
}
BENCHMARK(BM_BlendFrameWhole)->Apply(BlendFrameArgs)->Unit(benchmark::kMillisecond);

// One fuse frame on the pattern copy: cells turns on one more row of every 8 x 8 tile (style 2)
// or scattered single cells (style 1, state.range(1) cells at once).
void BM_PatternCopyFrame(benchmark::State &state)
{
    Frames &f = SharedFrames();
    const BlendKernels variant = BlendKernelVariants()[std::size_t(state.range(0))];
    state.SetLabel(variant.name);
    const int cellsPerRow = int(state.range(1));
    const std::uint8_t cells = std::uint8_t((1u << cellsPerRow) - 1u);
    const std::uint8_t *src = f.newImage.constBits();
    std::uint8_t *dst = f.work.bits();
    const qsizetype stride = f.work.bytesPerLine();
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y)
            variant.patternCopyRow(src + y * stride, dst + y * stride, kWidth, 4, cells);
        benchmark::ClobberMemory();
    }
    SetBytes(state, f.work.sizeInBytes());
}
BENCHMARK(BM_PatternCopyFrame)->ArgsProduct({{0, 1, 2}, {1, 4}})->Unit(benchmark::kMillisecond);

// A whole unpaced pass through the engine (Milliseconds 0): every frame drawn and flushed onto
// the canvas, then the final picture; frame cost = pass / (frames - 1).
void RunPass(benchmark::State &state, TTimedTransitionEffect &effect, int frames)
{
    Frames &f = SharedFrames();
    QImage canvas;
    std::clock_t cpu = 0;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        canvas = RunHeadless(effect, f.oldImage, f.newImage).final;
        cpu += std::clock() - start;
    }
    state.counters["cpu_ms_per_frame"] =
        1000.0 * double(cpu) / CLOCKS_PER_SEC / double(state.iterations()) / double(frames - 1);
}

void BM_BlendPass(benchmark::State &state)
{
    SetScreenBitsPerPixel(32);
    TBlendTransition blend;
    RunPass(state, blend, 64);
}
BENCHMARK(BM_BlendPass)->Unit(benchmark::kMillisecond);

// The same pass on an 8-bit screen: both pictures mapped to the fixed palette, then the dissolve.
void BM_BlendPass8Bits(benchmark::State &state)
{
    SetScreenBitsPerPixel(8);
    TBlendTransition blend;
    RunPass(state, blend, 64);
    SetScreenBitsPerPixel(32);
}
BENCHMARK(BM_BlendPass8Bits)->Unit(benchmark::kMillisecond);

// Mapping one 1080p picture of noise (no two neighbours alike) to the fixed 8-bit palette.
void BM_ConvertTo8Bits(benchmark::State &state)
{
    const QImage &picture = SharedFrames().newImage;
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertToPixelFormat(picture, pf8bit).constBits());
    SetBytes(state, picture.sizeInBytes());
}
BENCHMARK(BM_ConvertTo8Bits)->Unit(benchmark::kMillisecond);

void BM_FusePass(benchmark::State &state)
{
    SetScreenBitsPerPixel(32);
    TFuseTransition fuse;
    fuse.SetStyle(state.range(0));
    RunPass(state, fuse, TFuseTransition::FrameCountOf(int(state.range(0))));
}
BENCHMARK(BM_FusePass)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
