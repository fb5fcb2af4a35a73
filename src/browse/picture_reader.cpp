// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/picture_reader.h"

#include "media/picture_error.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace lumetta {

namespace {

constexpr int kQuarterAbove = 1000;
// Larger than any preview pane, so a preview is never decoded at more than this.
constexpr QSize kPreviewBound(4096, 4096);
const QByteArray kEndOfImage("\xFF\xD9", 2);

template <class Decode>
PictureReader::Result Read(const QString &path, Decode decode)
{
    PictureReader::Result result;
    if (!QFileInfo::exists(path)) {
        result.status = PictureReader::Status::Missing;
        result.reason = QStringLiteral("the file does not exist");
        return result;
    }
    Picture picture;
    try {
        picture = Picture::Load(path);
        decode(picture, result);
        result.status = PictureReader::Status::Ok;
        return result;
    } catch (const PictureError &error) {
        result.reason = error.Reason();
    }
    // A JPEG cut short (an interrupted copy or download) still holds its first rows: closed with
    // an end marker, the decoder takes what is there and leaves the rest plain.
    if (picture.IsNull() || picture.Kind() != PictureKind::Jpeg || picture.OriginalData().endsWith(kEndOfImage))
        return result;
    try {
        const Picture closed = Picture::FromData(picture.OriginalData() + kEndOfImage, PictureKind::Jpeg, path);
        decode(closed, result);
        result.status = PictureReader::Status::Damaged;
    } catch (const PictureError &) {
        result.picture = Picture();
    }
    return result;
}

}  // namespace

PictureReader::Result PictureReader::ForPreview(const QString &path)
{
    return Read(path, [](Picture picture, Result &result) {
        if (picture.Kind() == PictureKind::Jpeg
            && (picture.Width() > kQuarterAbove || picture.Height() > kQuarterAbove))
            picture.SetQuarterSize(true);
        result.picture = picture.ReducedWithin(kPreviewBound);
    });
}

PictureReader::Result PictureReader::ForThumbnail(const QString &path, const QSize &bound)
{
    return Read(path, [&bound](const Picture &picture, Result &result) {
        result.image = picture.Scaled(FitInside(picture.size(), bound));
    });
}

QSize PictureReader::FitInside(const QSize &picture, const QSize &bound)
{
    if (picture.isEmpty() || bound.isEmpty())
        return QSize(1, 1);
    const double scale =
        std::min({1.0, double(bound.width()) / picture.width(), double(bound.height()) / picture.height()});
    return QSize(std::max(1, int(std::lround(picture.width() * scale))),
                 std::max(1, int(std::lround(picture.height() * scale))));
}

}  // namespace lumetta
