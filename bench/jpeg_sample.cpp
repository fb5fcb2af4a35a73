#include "jpeg_sample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

QByteArray makeSampleJpeg(int width, int height)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);

    std::vector<JSAMPLE> row(size_t(width) * 3);
    std::uint32_t grain = 12345;
    while (cinfo.next_scanline < cinfo.image_height) {
        const double y = cinfo.next_scanline;
        for (int x = 0; x < width; ++x) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = int(grain >> 28) - 8;
            const double shade = 0.5 + 0.5 * std::sin(x / 310.0) * std::cos(y / 270.0);
            const bool edge = (int(x / 97.0 + y / 143.0) % 7) == 0;
            const int r = int(40 + 180 * shade) + noise + (edge ? 30 : 0);
            const int g = int(60 + 120 * (1 - shade) + 40 * std::sin((x + y) / 53.0)) + noise;
            const int b = int(90 + 100 * std::cos(x / 41.0) * shade) + noise - (edge ? 30 : 0);
            row[size_t(x) * 3 + 0] = JSAMPLE(std::clamp(r, 0, 255));
            row[size_t(x) * 3 + 1] = JSAMPLE(std::clamp(g, 0, 255));
            row[size_t(x) * 3 + 2] = JSAMPLE(std::clamp(b, 0, 255));
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}
