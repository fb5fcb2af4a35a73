// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of combining old and new pictures through a 1-bit mask at 1920 x 1080, 32 bits, over
// the rows of an update rectangle, beside a memcpy of the same bytes.

#include "transitions/core/kernels/mask_kernels.h"
#include "transitions/core/kernels/row_kernels.h"
#include "transitions/core/shapes/mask_paint.h"
#include "transitions/core/shapes/mono_paint.h"
#include "transitions/engine/noise_picture.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

using namespace lumetta;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

enum MaskKind { kFull, kWedge, kRandom, kEmpty };
const char *const kMaskNames[] = {"full", "wedge", "random bits", "empty"};

MonoBitmap MakeMask(MaskKind kind)
{
    MonoBitmap mask = CreateMask(kWidth, kHeight);
    switch (kind) {
    case kFull:
        InvertMask(mask.View());
        break;
    case kWedge: {  // a slanted edge through every row: mostly whole words, one mixed word a row
        for (int y = 0; y < kHeight; ++y)
            FillMonoRect(mask.View(), 0, y, 300 + y, y + 1, true);
        break;
    }
    case kRandom: {
        std::mt19937 gen(9);
        for (std::size_t i = 0; i < mask.SizeInBytes(); ++i)
            mask.Bits()[i] = std::uint8_t(gen());
        break;
    }
    case kEmpty:
        break;
    }
    return mask;
}

struct Frames
{
    QImage oldImage = NoisePicture({kWidth, kHeight}, 1);
    QImage newImage = NoisePicture({kWidth, kHeight}, 2);
};

Frames &SharedFrames()
{
    static Frames frames;
    return frames;
}

// Rows of the update rectangle: the whole frame or a band of 360 rows.
int RowsOf(std::int64_t arg)
{
    return arg == 0 ? kHeight : 360;
}

void BM_MemcpyRows(benchmark::State &state)
{
    Frames &f = SharedFrames();
    const int rows = RowsOf(state.range(0));
    QImage work = f.oldImage.copy();
    const int top = rows < kHeight ? 100 : 0;
    const std::size_t bytes = std::size_t(work.bytesPerLine()) * rows;
    for (auto _ : state) {
        std::memcpy(work.scanLine(top), f.newImage.constScanLine(top), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes));
    state.SetLabel(std::to_string(rows) + " rows");
}
BENCHMARK(BM_MemcpyRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The floor of a two-source mix over the same rows: read two frames, write one.
void BM_TwoReadsOneWriteRows(benchmark::State &state)
{
    Frames &f = SharedFrames();
    QImage work = f.oldImage.copy();
    const auto *a = reinterpret_cast<const std::uint32_t *>(f.oldImage.constBits());
    const auto *b = reinterpret_cast<const std::uint32_t *>(f.newImage.constBits());
    auto *out = reinterpret_cast<std::uint32_t *>(work.bits());
    const qsizetype words = work.sizeInBytes() / 4;
    for (auto _ : state) {
        for (qsizetype i = 0; i < words; ++i)
            out[i] = a[i] | b[i];
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * work.sizeInBytes());
}
BENCHMARK(BM_TwoReadsOneWriteRows)->Unit(benchmark::kMillisecond);

// args: mask kind, rows (0 = all, 1 = band), reference kernels (1) or fast (0).
void BM_MaskedRows(benchmark::State &state)
{
    Frames &f = SharedFrames();
    const auto kind = MaskKind(state.range(0));
    const int rows = RowsOf(state.range(1));
    const bool reference = state.range(2) != 0;
    const MonoBitmap mask = MakeMask(kind);
    QImage work = f.oldImage.copy();
    const int top = rows < kHeight ? 100 : 0;
    const MaskPlane m{const_cast<std::uint8_t *>(mask.Bits()), mask.Stride()};
    const MaskPlane n{const_cast<uchar *>(f.newImage.constBits()), f.newImage.bytesPerLine()};
    const MaskPlane w{work.bits(), work.bytesPerLine()};
    const bool was = ReferenceKernels();
    SetReferenceKernels(reference);
    for (auto _ : state) {
        CombineMaskedRows(m, n, w, w, kWidth, top, top + rows, 32);
        benchmark::ClobberMemory();
    }
    SetReferenceKernels(was);
    state.SetBytesProcessed(state.iterations() * std::int64_t(work.bytesPerLine()) * rows);
    state.SetLabel(std::string(kMaskNames[kind]) + ", " + std::to_string(rows) + " rows"
                   + (reference ? ", reference" : ""));
}
BENCHMARK(BM_MaskedRows)
    ->ArgsProduct({{kFull, kWedge, kRandom, kEmpty}, {0, 1}, {0}})
    ->Args({kWedge, 0, 1})
    ->Args({kRandom, 0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
