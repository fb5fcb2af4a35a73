// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding a 24-megapixel JPEG with the picture loader, at full and at quarter size, beside
// plain libjpeg-turbo decoding rows into one reused buffer (what djpeg does before writing).
#include "jpeg_sample.h"
#include "media/picture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

const QByteArray &sample()
{
    static const QByteArray data = makeSampleJpeg(6000, 4000);
    return data;
}

void loaderDecode(benchmark::State &state, bool quarter)
{
    for (auto _ : state) {
        lumetta::Picture picture = lumetta::Picture::FromData(sample(), lumetta::PictureKind::Jpeg, "sample.jpg");
        picture.SetQuarterSize(quarter);
        benchmark::DoNotOptimize(picture.Image().constBits());
    }
    state.counters["MB/s"] =
        benchmark::Counter(double(sample().size()) * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// A slide on a 1920 x 1080 screen at 100 %: decoded whole, then smoothly scaled, beside
// decoded already shrunk by DCT scaling and then scaled the rest of the way.
void slideForScreen(benchmark::State &state, bool decodeWholeFirst)
{
    for (auto _ : state) {
        const lumetta::Picture picture = lumetta::Picture::FromData(sample(), lumetta::PictureKind::Jpeg, "sample.jpg");
        if (decodeWholeFirst)
            picture.DecodeNow();
        benchmark::DoNotOptimize(picture.Scaled(QSize(1624, 1083)).constBits());
    }
}

void libjpegDecode(benchmark::State &state, bool quarter)
{
    for (auto _ : state) {
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr error{};
        cinfo.err = jpeg_std_error(&error);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(sample().constData()),
                     static_cast<unsigned long>(sample().size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.scale_denom = quarter ? 4 : 1;
        jpeg_start_decompress(&cinfo);
        std::vector<JSAMPLE> row(size_t(cinfo.output_width) * size_t(cinfo.output_components));
        JSAMPROW pointer = row.data();
        while (cinfo.output_scanline < cinfo.output_height)
            jpeg_read_scanlines(&cinfo, &pointer, 1);
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(row.data());
    }
}

}  // namespace

BENCHMARK_CAPTURE(loaderDecode, full, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loaderDecode, quarter, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(slideForScreen, decodeWholeThenScale, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(slideForScreen, scaleWhileDecoding, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(libjpegDecode, full, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(libjpegDecode, quarter, true)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
