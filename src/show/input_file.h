// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/regular_file.h"

#include <QByteArray>
#include <QString>

namespace lumetta {

// A file the builder copies into a show, open for reading as a RegularFile: a pipe would keep
// the build waiting for ever and a device such as /dev/zero would never end. Reading stops at
// the size the file had when opened.
class InputFile
{
public:
    // Largest file copied into a show; a size list entry and the stub's reader take any size.
    static constexpr qint64 kMaxBytes = qint64(2) << 30;

    // Opens PATH; throws ProjectError naming it when it is missing, no regular file, larger than
    // MAXBYTES or unreadable.
    explicit InputFile(const QString &path, qint64 maxBytes = kMaxBytes);

    qint64 Size() const { return file_.Size(); }
    // The next bytes, at most MAXIMUM, empty at the end. Throws ProjectError on a read error or
    // when the file shrank.
    QByteArray Read(qint64 maximum);
    // The file, at its start until Read is called, for a reader that takes only what it needs.
    QFile &Device() { return file_.Device(); }

private:
    QString path_;
    RegularFile file_;
    qint64 left_ = 0;
};

}  // namespace lumetta
