// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/jpeg_codec.h"

#include "media/decode_reservation.h"
#include "media/orientation.h"
#include "media/oriented_rows.h"
#include "media/picture_error.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace lumetta {

namespace {

// A hostile progressive file can hold millions of tiny scans; real ones have about ten.
constexpr int kMaxScans = 1000;
// Working memory libjpeg may take for whole-image buffers (progressive and multi-scan files).
constexpr long kMaxWorkingMemory = 1L << 30;

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

constexpr std::int64_t kMinPixelsPerByte = 1024;

struct Session
{
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    jpeg_progress_mgr progress;
};

[[noreturn]] void FailWithMessage(j_common_ptr cinfo)
{
    auto *error = reinterpret_cast<ErrorManager *>(cinfo->err);
    cinfo->err->format_message(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level)
{
    // libjpeg only warns about a file that ends early and pads the rest with grey; we refuse it.
    // Damaged coded data inside a complete file is shown as libjpeg recovers it, as viewers do.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        FailWithMessage(cinfo);
}

void WatchProgress(j_common_ptr cinfo)
{
    auto *dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->progressive_mode && dinfo->input_scan_number > kMaxScans) {
        auto *error = reinterpret_cast<ErrorManager *>(cinfo->err);
        std::snprintf(error->message, sizeof error->message, "more than %d progressive scans", kMaxScans);
        std::longjmp(error->jump, 1);
    }
}

void ConvertCmykRow(const JSAMPLE *cmyk, QRgb *out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

void ReleaseBuffer(void *buffer)
{
    std::free(buffer);
}

// An RGB32 image whose pixels lie in memory the kernel may back with huge pages: a large
// picture then costs hundreds instead of tens of thousands of page faults when first written.
QImage AllocateImage(QSize size)
{
    const int width = size.width(), height = size.height();
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    const std::size_t bytes = std::size_t(width) * 4 * std::size_t(height);
    if (bytes < kHugePage)
        return QImage(width, height, QImage::Format_RGB32);
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void *buffer = std::aligned_alloc(kHugePage, rounded);
    if (!buffer)
        return QImage();
    madvise(buffer, rounded, MADV_HUGEPAGE);
    return QImage(static_cast<uchar *>(buffer), width, height, qsizetype(width) * 4, QImage::Format_RGB32,
                  ReleaseBuffer, buffer);
}

// Runs libjpeg on `data`; with `image` null only the header is read. Returns false with
// session.error.message set when libjpeg fails. Holds no C++ objects across the setjmp.
bool RunDecoder(Session &s, const QByteArray &data, int denominator, int orientation, QSize *full, QImage *image,
                QByteArray *cmykRow, std::vector<quint32> *strip, long workingLimit)
{
    if (setjmp(s.error.jump))
        return false;

    jpeg_create_decompress(&s.cinfo);
    s.cinfo.mem->max_memory_to_use = workingLimit;
    s.progress.progress_monitor = WatchProgress;
    s.cinfo.progress = &s.progress;
    jpeg_mem_src(&s.cinfo, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&s.cinfo, TRUE);

    *full = QSize(int(s.cinfo.image_width), int(s.cinfo.image_height));
    // The caller refuses a picture over the limit; nothing is allocated for it here.
    const std::int64_t pixels = std::int64_t(s.cinfo.image_width) * s.cinfo.image_height;
    if (!image || pixels > kMaxPicturePixels)
        return true;
    // Every 8 x 8 block costs at least one bit of coded data, so a file with less than a byte per
    // 1024 pixels cannot hold its picture: refuse it before allocating and filling it with grey.
    if (std::int64_t(data.size()) * kMinPixelsPerByte < pixels) {
        std::snprintf(s.error.message, sizeof s.error.message, "the file is too small for a %ux%u picture",
                      s.cinfo.image_width, s.cinfo.image_height);
        return false;
    }

    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = static_cast<unsigned int>(denominator);
    const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    s.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
#else
    s.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_XRGB;
#endif
    jpeg_start_decompress(&s.cinfo);

    const JDIMENSION width = s.cinfo.output_width;
    const QSize decoded(int(width), int(s.cinfo.output_height));
    *image = AllocateImage(OrientedSize(decoded, orientation));
    if (image->isNull()) {
        std::snprintf(s.error.message, sizeof s.error.message, "not enough memory");
        return false;
    }
    if (cmyk)
        cmykRow->resize(qsizetype(width) * 4);

    OrientedRows sink(*image, decoded, orientation, *strip);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        const JDIMENSION line = s.cinfo.output_scanline;
        if (cmyk) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(cmykRow->data());
            jpeg_read_scanlines(&s.cinfo, &row, 1);
            ConvertCmykRow(row, reinterpret_cast<QRgb *>(sink.Row(int(line))), width, s.cinfo.saw_Adobe_marker);
            sink.Written(int(line) + 1);
            continue;
        }
        JSAMPROW rows[8];
        const JDIMENSION count = std::min<JDIMENSION>(8, JDIMENSION(sink.RowsAvailable(int(line))));
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = sink.Row(int(line + i));
        const JDIMENSION got = jpeg_read_scanlines(&s.cinfo, rows, count);
        sink.Written(int(line + got));
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

QImage Decode(const QByteArray &data, int denominator, int orientation, const QString &file, QSize &full,
              bool headerOnly, long workingLimit = kMaxWorkingMemory)
{
    if (data.isEmpty())
        throw PictureError(file, QStringLiteral("the file is empty"));

    Session session{};
    session.cinfo.err = jpeg_std_error(&session.error.pub);
    session.error.pub.error_exit = FailWithMessage;
    session.error.pub.emit_message = EmitMessage;

    QImage image;
    QByteArray cmykRow;
    std::vector<quint32> strip;
    const bool ok =
        RunDecoder(session, data, denominator, orientation, &full, headerOnly ? nullptr : &image, &cmykRow, &strip,
                   workingLimit);
    jpeg_destroy_decompress(&session.cinfo);
    if (!ok)
        throw PictureError(file, QStringLiteral("JPEG error: %1").arg(QString::fromLocal8Bit(session.error.message)));
    CheckPictureSize(full.width(), full.height(), file);
    return image;
}

}  // namespace

QSize ReadJpegSize(const QByteArray &data, const QString &file)
{
    QSize full;
    Decode(data, 1, kUpright, file, full, true);
    return full;
}

QSize JpegScaledSize(QSize full, int denominator)
{
    return QSize((full.width() + denominator - 1) / denominator, (full.height() + denominator - 1) / denominator);
}

int JpegDenominatorCovering(QSize full, QSize target, int smallest)
{
    for (int denominator = 8; denominator > smallest; denominator /= 2) {
        const QSize scaled = JpegScaledSize(full, denominator);
        if (scaled.width() >= target.width() && scaled.height() >= target.height())
            return denominator;
    }
    return smallest;
}

QImage DecodeJpeg(const QByteArray &data, int denominator, const QString &file, int orientation)
{
    if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8)
        throw PictureError(file, QStringLiteral("unsupported JPEG scale 1/%1").arg(denominator));
    QSize full = ReadJpegSize(data, file);
    const QSize scaled = JpegScaledSize(full, denominator);
    // libjpeg's own arrays (a progressive file's coefficients) take what the picture leaves.
    const std::int64_t output = std::int64_t(scaled.width()) * scaled.height() * 4;
    const DecodeReservation reservation(output, data.size(), file);
    const long working = long(std::min<std::int64_t>(kMaxWorkingMemory, DecodeReservation::BudgetFor(data.size()) - output));
    return Decode(data, denominator, orientation, file, full, false, working);
}

}  // namespace lumetta
