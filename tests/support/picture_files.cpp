// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/picture_files.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <gif_lib.h>
#include <jpeglib.h>

#include <stdexcept>

namespace testpictures {

namespace {

QByteArray EncodeJpeg(const QImage &source, int quality, bool progressive, JpegColours colours,
                      const std::vector<jpeg_scan_info> *scans)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = colours == JpegColours::Grey ? 1 : colours == JpegColours::AdobeCmyk ? 4 : 3;
    cinfo.in_color_space = colours == JpegColours::Grey        ? JCS_GRAYSCALE
                           : colours == JpegColours::AdobeCmyk ? JCS_CMYK
                                                               : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&cinfo);
    if (scans) {
        cinfo.scan_info = scans->data();
        cinfo.num_scans = int(scans->size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(image.width()) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(int(cinfo.next_scanline)));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = pixels[x];
            switch (colours) {
            case JpegColours::Grey:
                row[size_t(x)] = JSAMPLE(qGray(p));
                break;
            case JpegColours::Rgb:
                row[size_t(x) * 3 + 0] = JSAMPLE(qRed(p));
                row[size_t(x) * 3 + 1] = JSAMPLE(qGreen(p));
                row[size_t(x) * 3 + 2] = JSAMPLE(qBlue(p));
                break;
            case JpegColours::AdobeCmyk:
                row[size_t(x) * 4 + 0] = JSAMPLE(qRed(p));
                row[size_t(x) * 4 + 1] = JSAMPLE(qGreen(p));
                row[size_t(x) * 4 + 2] = JSAMPLE(qBlue(p));
                row[size_t(x) * 4 + 3] = 255;
                break;
            }
        }
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&cinfo, &rowPointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

}  // namespace

QByteArray MakeJpeg(const QImage &image, int quality, bool progressive, JpegColours colours)
{
    return EncodeJpeg(image, quality, progressive, colours, nullptr);
}

QByteArray MakeJpegWithScans(const QImage &image, const std::vector<jpeg_scan_info> &scans)
{
    return EncodeJpeg(image, 95, false, JpegColours::Rgb, &scans);
}

namespace {

int AppendBytes(GifFileType *gif, const GifByteType *bytes, int length)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(bytes), length);
    return length;
}

void Check(int result, const char *what)
{
    if (result == GIF_ERROR)
        throw std::runtime_error(what);
}

}  // namespace

QByteArray MakeGif(int screenWidth, int screenHeight, const QList<QRgb> &palette, const std::vector<GifFrame> &frames)
{
    QByteArray out;
    int error = 0;
    GifFileType *gif = EGifOpen(&out, AppendBytes, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject *map = GifMakeMapObject(int(palette.size()), nullptr);
    for (int i = 0; i < palette.size(); ++i)
        map->Colors[i] = GifColorType{GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                                      GifByteType(qBlue(palette[i]))};
    Check(EGifPutScreenDesc(gif, screenWidth, screenHeight, GifBitSize(int(palette.size())), 0, map), "screen");
    for (const GifFrame &frame : frames) {
        if (frame.transparent >= 0) {
            GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, frame.transparent};
            GifByteType extension[4];
            const size_t length = EGifGCBToExtension(&control, extension);
            Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension), "extension");
        }
        Check(EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, nullptr),
              "image");
        std::vector<int> order;
        if (frame.interlaced) {
            for (int start : {0, 4, 2, 1})
                for (int row = start; row < frame.height; row += start == 0 ? 8 : start * 2)
                    order.push_back(row);
        } else {
            for (int row = 0; row < frame.height; ++row)
                order.push_back(row);
        }
        for (int row : order) {
            std::vector<GifPixelType> line(frame.pixels.begin() + row * frame.width,
                                           frame.pixels.begin() + (row + 1) * frame.width);
            Check(EGifPutLine(gif, line.data(), frame.width), "line");
        }
    }
    Check(EGifCloseFile(gif, &error), "close");
    GifFreeMapObject(map);
    return out;
}

QByteArray MakeBmp(const QImage &image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        throw std::runtime_error("cannot write BMP");
    return out;
}

QImage NoisePicture(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    return image;
}

void PutBigEndian16(QByteArray &data, qsizetype offset, int value)
{
    data[offset] = char((value >> 8) & 0xFF);
    data[offset + 1] = char(value & 0xFF);
}

qsizetype JpegSofHeightOffset(const QByteArray &jpeg)
{
    for (qsizetype i = 2; i + 1 < jpeg.size(); ++i) {
        const auto marker = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC1 || marker == 0xC2))
            return i + 5;
    }
    throw std::runtime_error("no SOF marker");
}

QString WriteTemp(const QString &name, const QByteArray &data)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        throw std::runtime_error("cannot write test file");
    return path;
}

QString WriteFlatBmp(const QString &path, const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(MakeBmp(image)) < 0)
        return {};
    return path;
}

}  // namespace testpictures
