// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

namespace lumetta {

// The desktop's list of recently used files, the freedesktop.org "recently-used.xbel" (an XBEL
// file in XDG_DATA_HOME) that file managers and file dialogs show. Entries of other programs are
// kept as they are.
class DesktopRecentFiles
{
public:
    // The list in XDG_DATA_HOME (~/.local/share by default).
    static QString DefaultPath();

    explicit DesktopRecentFiles(const QString &path = DefaultPath());

    // Records that Lumetta used the file PATH (absolute) of type MIME_TYPE at NOW: a new entry,
    // or the existing one's times and Lumetta's use count brought up to date. The list is
    // replaced whole or not at all; false (with ErrorText) when it cannot be read or written,
    // and a list that cannot be read is left as it is.
    bool Add(const QString &path, const QString &mimeType, const QDateTime &now = QDateTime::currentDateTimeUtc());

    const QString &ErrorText() const { return error_; }

private:
    QString path_;
    QString error_;
};

}  // namespace lumetta
