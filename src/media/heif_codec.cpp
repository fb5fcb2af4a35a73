// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/heif_codec.h"

#include "media/decode_reservation.h"
#include "media/picture_error.h"

#include <libheif/heif.h>

#include <cmath>
#include <memory>

namespace lumetta {

namespace {

struct ContextDeleter
{
    void operator()(heif_context *context) const { heif_context_free(context); }
};
struct HandleDeleter
{
    void operator()(heif_image_handle *handle) const { heif_image_handle_release(handle); }
};
struct ImageDeleter
{
    void operator()(heif_image *image) const { heif_image_release(image); }
};
struct OptionsDeleter
{
    void operator()(heif_decoding_options *options) const { heif_decoding_options_free(options); }
};

void Check(const heif_error &error, const QString &file)
{
    if (error.code == heif_error_Ok)
        return;
    if (error.code == heif_error_Unsupported_feature && error.subcode == heif_suberror_Unsupported_codec)
        throw PictureError(file, QStringLiteral("no decoder for this picture's compression is installed"));
    throw PictureError(file, QStringLiteral("HEIF error: %1").arg(QString::fromUtf8(error.message)));
}

// The parsed file and its primary picture. The context reads `data` in place, which the caller
// keeps alive.
struct Primary
{
    std::unique_ptr<heif_context, ContextDeleter> context;
    std::unique_ptr<heif_image_handle, HandleDeleter> handle;
    QSize size;
};

Primary OpenPrimary(const QByteArray &data, const QString &file)
{
    if (data.isEmpty())
        throw PictureError(file, QStringLiteral("the file is empty"));
    Primary primary;
    primary.context.reset(heif_context_alloc());
    if (!primary.context)
        throw PictureError(file, QStringLiteral("not enough memory"));
    // libheif's own limit is a square side; ours counts pixels, which it then never exceeds.
    heif_context_set_maximum_image_size_limit(primary.context.get(), int(std::sqrt(double(kMaxPicturePixels))));
    Check(heif_context_read_from_memory_without_copy(primary.context.get(), data.constData(), size_t(data.size()),
                                                     nullptr),
          file);
    heif_image_handle *handle = nullptr;
    Check(heif_context_get_primary_image_handle(primary.context.get(), &handle), file);
    primary.handle.reset(handle);
    const int width = heif_image_handle_get_width(handle);
    const int height = heif_image_handle_get_height(handle);
    CheckPictureSize(width, height, file);
    primary.size = QSize(width, height);
    return primary;
}

}  // namespace

QSize ReadHeifSize(const QByteArray &data, const QString &file)
{
    return OpenPrimary(data, file).size;
}

QImage DecodeHeif(const QByteArray &data, const QString &file)
{
    const Primary primary = OpenPrimary(data, file);
    const bool alpha = heif_image_handle_has_alpha_channel(primary.handle.get());
    const std::unique_ptr<heif_decoding_options, OptionsDeleter> options(heif_decoding_options_alloc());
    if (!options)
        throw PictureError(file, QStringLiteral("not enough memory"));
    options->convert_hdr_to_8bit = 1;
    // The library's interleaved picture and our converted copy.
    const std::int64_t pixelCount = std::int64_t(primary.size.width()) * primary.size.height();
    const DecodeReservation reservation(pixelCount * (alpha ? 8 : 7), data.size(), file);
    heif_image *decoded = nullptr;
    Check(heif_decode_image(primary.handle.get(), &decoded, heif_colorspace_RGB,
                            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get()),
          file);
    const std::unique_ptr<heif_image, ImageDeleter> image(decoded);
    int stride = 0;
    const uint8_t *pixels = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || QSize(width, height) != primary.size)
        throw PictureError(file, QStringLiteral("HEIF error: the decoded picture does not match its header"));
    // Qt converts the library's byte order to ours with its vectorised row converters.
    const QImage view(pixels, width, height, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QImage result = view.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (result.isNull())
        throw PictureError(file, QStringLiteral("not enough memory"));
    return result;
}

}  // namespace lumetta
