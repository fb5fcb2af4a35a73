// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/gif_codec.h"

#include "media/decode_reservation.h"
#include "media/picture_error.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace lumetta {

namespace {

struct MemoryReader
{
    const QByteArray &data;
    qsizetype position = 0;
};

int ReadFromMemory(GifFileType *gif, GifByteType *buffer, int length)
{
    auto *reader = static_cast<MemoryReader *>(gif->UserData);
    const qsizetype count = std::clamp<qsizetype>(reader->data.size() - reader->position, 0, length);
    std::memcpy(buffer, reader->data.constData() + reader->position, size_t(count));
    reader->position += count;
    return int(count);
}

int WriteToMemory(GifFileType *gif, const GifByteType *buffer, int length)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(buffer), length);
    return length;
}

struct DecoderCloser
{
    void operator()(GifFileType *gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

struct EncoderCloser
{
    void operator()(GifFileType *gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct MapFreer
{
    void operator()(ColorMapObject *map) const { GifFreeMapObject(map); }
};

QString GifReason(int error)
{
    if (error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON)
        return QStringLiteral("the file is truncated");
    const char *text = GifErrorString(error);
    return QStringLiteral("GIF error: %1").arg(text ? QString::fromLatin1(text) : QString::number(error));
}

QList<QRgb> ColourTable(const ColorMapObject *map, int transparent)
{
    QList<QRgb> table(256, qRgb(0, 0, 0));
    if (map) {
        const int count = std::min(map->ColorCount, 256);
        for (int i = 0; i < count; ++i)
            table[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    } else {
        for (int i = 0; i < 256; ++i)
            table[i] = qRgb(i, i, i);
    }
    if (transparent >= 0)
        table[transparent] = qRgba(0, 0, 0, 0);
    return table;
}

}  // namespace

QImage DecodeGif(const QByteArray &data, const QString &file)
{
    if (data.isEmpty())
        throw PictureError(file, QStringLiteral("the file is empty"));

    MemoryReader reader{data};
    int error = 0;
    std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif)
        throw PictureError(file, GifReason(error));
    const auto fail = [&] { throw PictureError(file, GifReason(gif->Error)); };

    // Only the first frame is read: later frames of an animation are neither decoded nor held.
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            fail();
        if (type == TERMINATE_RECORD_TYPE)
            throw PictureError(file, QStringLiteral("the file holds no picture"));
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                fail();
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] == 4)
                DGifExtensionToGCB(4, block + 1, &control);
            while (block)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    fail();
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
                fail();
            break;
        }
    }

    const GifImageDesc &frame = gif->Image;
    // The picture is the logical screen; a frame is clipped to it, so a few bytes declaring a
    // frame far outside a small screen cannot make us allocate a huge canvas of filler. Only a
    // file without a screen size takes the frame's own size.
    const bool hasScreen = gif->SWidth > 0 && gif->SHeight > 0;
    const int width = hasScreen ? gif->SWidth : frame.Width;
    const int height = hasScreen ? gif->SHeight : frame.Height;
    const int left = hasScreen ? frame.Left : 0;
    const int top = hasScreen ? frame.Top : 0;
    CheckPictureSize(width, height, file);
    const int visibleWidth = std::clamp(width - left, 0, frame.Width);
    const int visibleHeight = std::clamp(height - top, 0, frame.Height);

    const ColorMapObject *map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    const int colours = map ? map->ColorCount : 256;
    int transparent = control.TransparentColor;
    const bool covered = left == 0 && top == 0 && visibleWidth == width && visibleHeight == height;
    int fill = transparent;
    if (!covered && fill < 0) {
        // The uncovered screen shows through: give it a colour of its own when one is free.
        fill = colours < 256 ? colours : gif->SBackGroundColor;
        if (colours < 256)
            transparent = fill;
    }

    const DecodeReservation reservation(std::int64_t(width) * height + frame.Width, data.size(), file);
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull())
        throw PictureError(file, QStringLiteral("not enough memory"));
    image.setColorTable(ColourTable(map, transparent));
    if (!covered)
        image.fill(uint(std::clamp(fill, 0, 255)));

    // Rows and columns outside the screen are decoded into a scratch row and dropped.
    std::vector<GifPixelType> scratch(std::size_t(std::max(frame.Width, 0)));
    const auto readRow = [&](int row) {
        const bool visible = row < visibleHeight && visibleWidth > 0;
        GifPixelType *target =
            visible && visibleWidth == frame.Width ? image.scanLine(top + row) + left : scratch.data();
        if (DGifGetLine(gif.get(), target, frame.Width) == GIF_ERROR)
            fail();
        if (visible && target == scratch.data())
            std::memcpy(image.scanLine(top + row) + left, scratch.data(), std::size_t(visibleWidth));
    };
    if (frame.Width > 0 && frame.Height > 0 && visibleWidth > 0 && visibleHeight > 0) {
        if (frame.Interlace) {
            static constexpr int kStart[] = {0, 4, 2, 1};
            static constexpr int kStep[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int row = kStart[pass]; row < frame.Height; row += kStep[pass])
                    readRow(row);
        } else {
            for (int row = 0; row < visibleHeight; ++row)
                readRow(row);
        }
    }
    return image;
}

QByteArray EncodeGif(const QImage &source, const QString &file)
{
    if (source.isNull())
        throw PictureError(file, QStringLiteral("there is no picture to encode"));
    if (source.width() > 65535 || source.height() > 65535)
        throw PictureError(file, QStringLiteral("the picture is too large for a GIF file (%1 x %2 pixels)")
                                     .arg(source.width())
                                     .arg(source.height()));
    QImage image =
        source.format() == QImage::Format_Indexed8 ? source : source.convertToFormat(QImage::Format_Indexed8);
    const QList<QRgb> table = image.colorTable();

    int used = 1;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        used = std::max(used, int(*std::max_element(row, row + image.width())) + 1);
    }
    int bits = 1;
    while ((1 << bits) < used)
        ++bits;
    const int count = 1 << bits;

    std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(count, nullptr));
    if (!map)
        throw PictureError(file, QStringLiteral("not enough memory"));
    int transparent = NO_TRANSPARENT_COLOR;
    for (int i = 0; i < count; ++i) {
        const QRgb colour = i < table.size() ? table[i] : qRgb(0, 0, 0);
        map->Colors[i] =
            GifColorType{GifByteType(qRed(colour)), GifByteType(qGreen(colour)), GifByteType(qBlue(colour))};
        if (transparent == NO_TRANSPARENT_COLOR && i < table.size() && qAlpha(colour) == 0)
            transparent = i;
    }

    QByteArray out;
    int error = 0;
    {
        std::unique_ptr<GifFileType, EncoderCloser> gif(EGifOpen(&out, WriteToMemory, &error));
        const auto fail = [&](int code) {
            throw PictureError(file, QStringLiteral("GIF error: %1").arg(QString::fromLatin1(GifErrorString(code))));
        };
        if (!gif)
            fail(error);
        EGifSetGifVersion(gif.get(), true);
        if (EGifPutScreenDesc(gif.get(), image.width(), image.height(), bits, 0, map.get()) == GIF_ERROR)
            fail(gif->Error);
        if (transparent != NO_TRANSPARENT_COLOR) {
            GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, transparent};
            GifByteType extension[4];
            const size_t length = EGifGCBToExtension(&control, extension);
            if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_ERROR)
                fail(gif->Error);
        }
        if (EGifPutImageDesc(gif.get(), 0, 0, image.width(), image.height(), false, nullptr) == GIF_ERROR)
            fail(gif->Error);
        for (int y = 0; y < image.height(); ++y)
            if (EGifPutLine(gif.get(), image.scanLine(y), image.width()) == GIF_ERROR)
                fail(gif->Error);
        GifFileType *finished = gif.release();
        if (EGifCloseFile(finished, &error) == GIF_ERROR)
            fail(error);
    }
    return out;
}

}  // namespace lumetta
