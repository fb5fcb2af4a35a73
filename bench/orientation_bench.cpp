// SPDX-License-Identifier: GPL-3.0-or-later
// What turning a photo upright costs: a 24-megapixel JPEG decoded by the picture loader with
// each EXIF orientation (turned while decoding), beside the same decode turned afterwards by
// Qt's quarter turns and mirrors; and the row placement alone (rows copied from the cache into
// the upright image), whose difference from orientation 1 is what turning adds to a decode.
#include "jpeg_sample.h"
#include "media/jpeg_codec.h"
#include "media/orientation.h"
#include "media/oriented_rows.h"
#include "media/picture.h"
#include "support/photo_files.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <vector>

namespace {

const QByteArray &sample()
{
    static const QByteArray data = makeSampleJpeg(6000, 4000);
    return data;
}

void loaderDecode(benchmark::State &state)
{
    const int orientation = int(state.range(0));
    const QByteArray data =
        orientation == 1 ? sample() : testpictures::WithJpegApp1(sample(), testpictures::MakeExifBlock(orientation));
    for (auto _ : state) {
        const lumetta::Picture picture = lumetta::Picture::FromData(data, lumetta::PictureKind::Jpeg, "sample.jpg");
        benchmark::DoNotOptimize(picture.Image().constBits());
    }
}

void decodeThenTurn(benchmark::State &state)
{
    const int orientation = int(state.range(0));
    for (auto _ : state) {
        const QImage turned = lumetta::OrientImage(lumetta::DecodeJpeg(sample(), 1, "sample.jpg"), orientation);
        benchmark::DoNotOptimize(turned.constBits());
    }
}

void rowPlacement(benchmark::State &state)
{
    const int orientation = int(state.range(0));
    const QSize stored(6000, 4000);
    std::vector<quint32> row(std::size_t(stored.width()) * 8, 0x00336699u);
    // Memory as the JPEG decoder takes it: huge pages, so a column of rows is not a page each.
    const QSize size = lumetta::OrientedSize(stored, orientation);
    const std::size_t bytes = std::size_t(size.width()) * 4 * std::size_t(size.height());
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    void *buffer = std::aligned_alloc(kHugePage, (bytes + kHugePage - 1) / kHugePage * kHugePage);
    madvise(buffer, bytes, MADV_HUGEPAGE);
    QImage target(static_cast<uchar *>(buffer), size.width(), size.height(), qsizetype(size.width()) * 4,
                  QImage::Format_RGB32, std::free, buffer);
    std::vector<quint32> strip;
    for (auto _ : state) {
        lumetta::OrientedRows rows(target, stored, orientation, strip);
        for (int line = 0; line < stored.height();) {
            const int count = std::min({8, rows.RowsAvailable(line), stored.height() - line});
            for (int i = 0; i < count; ++i)
                std::memcpy(rows.Row(line + i), row.data() + std::size_t(i) * stored.width(),
                            std::size_t(stored.width()) * 4);
            line += count;
            rows.Written(line);
        }
        benchmark::DoNotOptimize(target.constBits());
    }
}

}  // namespace

BENCHMARK(rowPlacement)->DenseRange(1, 8)->Unit(benchmark::kMillisecond);
BENCHMARK(loaderDecode)->DenseRange(1, 8)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(decodeThenTurn)->Arg(3)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
