// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/picture.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace lumetta {

// Reads pictures for the editor's views, which show as much of a file as they can: a JPEG that
// ends early is decoded as far as its data goes and marked as damaged instead of refused.
class PictureReader
{
public:
    enum class Status {
        Ok,
        Damaged,  // only part of the picture could be read; `reason` says why
        Missing,  // no such file
        Unreadable,  // `reason` says why
    };

    struct Result
    {
        Status status = Status::Unreadable;
        Picture picture;  // ForPreview: the decoded picture
        QImage image;  // ForThumbnail: the scaled picture
        QString reason;  // empty for Ok
    };

    // What the preview shows: a JPEG wider or higher than 1000 pixels is decoded at a quarter
    // of each side, everything else at full size.
    static Result ForPreview(const QString &path);

    // The picture fitted into BOUND with its proportions kept and never enlarged. A JPEG is
    // decoded by DCT scaling at the smallest scale that still covers the thumbnail.
    static Result ForThumbnail(const QString &path, const QSize &bound);

    // The largest size within BOUND with the proportions of PICTURE, at most PICTURE itself and
    // at least one pixel a side.
    static QSize FitInside(const QSize &picture, const QSize &bound);
};

}  // namespace lumetta
