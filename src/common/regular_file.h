// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

#include <limits>

namespace lumetta {

// A file that a project, a list or the command line names, open for reading only when it is a
// regular local file. Opening never waits (a pipe would keep it waiting for a writer) and never
// takes a device, a socket or a folder, so such a name can neither block nor feed endless data.
class RegularFile
{
public:
    // Opens PATH; IsOpen() tells whether it worked, ErrorString() why not.
    explicit RegularFile(const QString &path, qint64 maxBytes = std::numeric_limits<qint64>::max());

    bool IsOpen() const { return file_.isOpen(); }
    // Why the file did not open, in words for a message ("the file does not exist", "it is a
    // pipe, not a regular file", "the file is too large (N bytes, at most M)", the system's text).
    const QString &ErrorString() const { return error_; }
    // The size when opened.
    qint64 Size() const { return size_; }
    // The open file, unbuffered, for reading from its start.
    QFile &Device() { return file_; }

    // Why PATH cannot be opened as RegularFile opens it, or an empty text when it can: the check
    // for readers that open files by name themselves (the media framework, FFmpeg).
    static QString Problem(const QString &path);
    // PATH as a message names it: an empty name shows as "" rather than as nothing at all.
    static QString ShownName(const QString &path);

private:
    QFile file_;
    QString error_;
    qint64 size_ = 0;
};

}  // namespace lumetta
