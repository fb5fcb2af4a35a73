// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace lumetta {

// The projects opened or saved lately, newest first, kept in a list file of their own beside
// the other list files (one path per line, lines ended by CR LF).
class RecentProjects
{
public:
    static constexpr const char *kFileName = "projects.lst";
    static constexpr int kMaxCount = 10;

    // The list file in FOLDER; nothing is read yet.
    explicit RecentProjects(const QString &folder);

    QString FilePath() const { return path_; }
    const QStringList &Paths() const { return paths_; }

    // Reads the list file; a missing one means none, an unreadable one too, with a warning.
    void Load();
    // Puts PATH first, drops an older entry of it and any beyond the tenth, and writes the
    // list file; throws ProjectError when it cannot be written.
    void Add(const QString &path);

private:
    QString path_;
    QStringList paths_;
};

}  // namespace lumetta
