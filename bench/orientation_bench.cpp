// What turning a photo upright costs: a 24-megapixel JPEG decoded by the picture loader with
// each EXIF orientation (turned while decoding), beside the same decode turned afterwards by
// Qt's quarter turns and mirrors.
#include "jpeg_sample.h"
#include "media/jpeg_codec.h"
#include "media/orientation.h"
#include "media/picture.h"
#include "support/photo_files.h"

#include <benchmark/benchmark.h>

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
        orientation == 1 ? sample() : testpictures::withJpegApp1(sample(), testpictures::makeExifBlock(orientation));
    for (auto _ : state) {
        const lumetta::Picture picture = lumetta::Picture::fromData(data, lumetta::PictureKind::Jpeg, "sample.jpg");
        benchmark::DoNotOptimize(picture.image().constBits());
    }
}

void decodeThenTurn(benchmark::State &state)
{
    const int orientation = int(state.range(0));
    for (auto _ : state) {
        const QImage turned = lumetta::orientImage(lumetta::decodeJpeg(sample(), 1, "sample.jpg"), orientation);
        benchmark::DoNotOptimize(turned.constBits());
    }
}

}  // namespace

BENCHMARK(loaderDecode)->DenseRange(1, 8)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(decodeThenTurn)->Arg(3)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
