// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/list_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumetta {

QString ListFiles::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

ListFiles::ListFiles(const QString &folder) : folder_(folder)
{
}

QString ListFiles::PathOf(const char *fileName) const
{
    return QDir(folder_).filePath(QLatin1String(fileName));
}

QStringList ListFiles::FirstRunResume()
{
    return {QStringLiteral("Pre"), QStringLiteral("No")};
}

QStringList ListFiles::FirstRunStartDir()
{
    QString home = QDir::homePath();
    if (!home.endsWith(u'/'))
        home += u'/';
    return {home};
}

QStringList ListFiles::FirstRunRecent()
{
    return {QStringLiteral("Empty")};
}

bool ListFiles::CreateMissing() const
{
    const struct
    {
        const char *name;
        QStringList lines;
    } files[] = {{kResumeFile, FirstRunResume()}, {kStartDirFile, FirstRunStartDir()}, {kRecentFile, FirstRunRecent()}};
    bool ok = true;
    for (const auto &file : files) {
        if (QFileInfo::exists(PathOf(file.name)))
            continue;
        try {
            Write(file.name, file.lines);
        } catch (const ProjectError &) {
            ok = false;
        }
    }
    return ok;
}

QStringList ListFiles::Read(const char *fileName, const QStringList &firstRun) const
{
    const QString path = PathOf(fileName);
    if (!QFileInfo::exists(path))
        return firstRun;
    try {
        return ReadTextFile(path, kLimits);
    } catch (const ProjectError &error) {
        qWarning("%s", qUtf8Printable(error.Message()));
        return firstRun;
    }
}

void ListFiles::Write(const char *fileName, const QStringList &lines) const
{
    const QString path = PathOf(fileName);
    if (!QDir().mkpath(folder_))
        throw ProjectError(CannotCreateFileMessage(path)
                           + QStringLiteral(": the folder %1 cannot be made").arg(folder_));
    WriteTextFile(path, lines, kLimits);
}

QStringList ListFiles::ReadResume() const
{
    return Read(kResumeFile, FirstRunResume());
}

QStringList ListFiles::ReadStartDir() const
{
    const QStringList lines = Read(kStartDirFile, FirstRunStartDir());
    return lines.isEmpty() ? FirstRunStartDir() : lines;
}

QStringList ListFiles::ReadRecentFolders() const
{
    const QStringList lines = Read(kRecentFile, FirstRunRecent());
    return lines.isEmpty() ? FirstRunRecent() : lines;
}

void ListFiles::WriteResume(const QStringList &lines) const
{
    Write(kResumeFile, lines);
}

void ListFiles::WriteStartDir(const QStringList &lines) const
{
    Write(kStartDirFile, lines);
}

void ListFiles::WriteRecentFolders(const QStringList &lines) const
{
    Write(kRecentFile, lines);
}

}  // namespace lumetta
