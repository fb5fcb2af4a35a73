// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/picture.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace lumetta {

// The start of a picture file, read and checked before the rest of the file: a file that does
// not begin as files of its kind do, or whose header declares more pixels than any decoder
// takes, is refused after a few bytes instead of after reading the whole file.
class PictureHeader
{
public:
    // Reads the header of a KIND file from FILE (open at its start, SIZE bytes long). Throws
    // PictureError naming NAME for a file that is empty, does not begin as KIND's files do, or
    // declares more than kMaxPicturePixels. FILE is left at the end of Start().
    static PictureHeader Read(QIODevice &file, qint64 size, PictureKind kind, const QString &name);

    // The file's first bytes, as read.
    const QByteArray &Start() const { return start_; }
    // How many bytes of the file the picture needs: all of them, but for an uncompressed BMP,
    // whose header says where its pixels end.
    qint64 NeededBytes() const { return needed_; }

private:
    QByteArray start_;
    qint64 needed_ = 0;
};

}  // namespace lumetta
