// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/project_file.h"

#include <QString>
#include <QStringList>

namespace lumetta {

// The three small list files kept in the per-user configuration folder: "SOPT.lst" (preview
// shown and project to reopen), "dir.lst" (start folder) and "dires.lst" (recent folders).
// Lines end with CR LF; a missing file reads as its first-run contents, and so does one that
// cannot be read or exceeds kLimits, with a warning naming it.
class ListFiles
{
public:
    static constexpr const char *kResumeFile = "SOPT.lst";
    static constexpr const char *kStartDirFile = "dir.lst";
    static constexpr const char *kRecentFile = "dires.lst";
    // A few lines each; the recent folders grow by one per folder within a run.
    static constexpr TextFileLimits kLimits{qint64(1) << 20, 10'000, 32 * 1024};

    // The application's configuration folder (XDG_CONFIG_HOME moves it).
    static QString DefaultFolder();

    explicit ListFiles(const QString &folder = DefaultFolder());

    const QString &Folder() const { return folder_; }
    QString PathOf(const char *fileName) const;

    static QStringList FirstRunResume();  // "Pre", "No"
    static QStringList FirstRunStartDir();  // the home folder, with a trailing "/"
    static QStringList FirstRunRecent();  // "Empty"

    // Writes every missing list file with its first-run contents; false if one could not be.
    bool CreateMissing() const;

    QStringList ReadResume() const;
    QStringList ReadStartDir() const;
    // An empty file reads as "Empty".
    QStringList ReadRecentFolders() const;

    // Throw ProjectError("Cannot create file PATH: REASON") on failure.
    void WriteResume(const QStringList &lines) const;
    void WriteStartDir(const QStringList &lines) const;
    void WriteRecentFolders(const QStringList &lines) const;

private:
    QStringList Read(const char *fileName, const QStringList &firstRun) const;
    void Write(const char *fileName, const QStringList &lines) const;

    QString folder_;
};

}  // namespace lumetta
