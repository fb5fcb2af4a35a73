// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recent_projects.h"

#include "show/project_file.h"

#include <QDir>
#include <QFileInfo>

namespace lumetta {

namespace {

constexpr TextFileLimits kLimits{qint64(1) << 20, 1000, 32 * 1024};

}  // namespace

RecentProjects::RecentProjects(const QString &folder) : path_(QDir(folder).filePath(QLatin1String(kFileName)))
{
}

void RecentProjects::Load()
{
    paths_.clear();
    if (!QFileInfo::exists(path_))
        return;
    try {
        for (const QString &line : ReadTextFile(path_, kLimits))
            if (!line.isEmpty() && !paths_.contains(line) && paths_.size() < kMaxCount)
                paths_.append(line);
    } catch (const ProjectError &error) {
        qWarning("%s", qUtf8Printable(error.Message()));
    }
}

void RecentProjects::Add(const QString &path)
{
    paths_.removeAll(path);
    paths_.prepend(path);
    if (paths_.size() > kMaxCount)
        paths_.resize(kMaxCount);
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        throw ProjectError(CannotCreateFileMessage(path_)
                           + QStringLiteral(": the folder %1 cannot be made").arg(folder));
    WriteTextFile(path_, paths_, kLimits);
}

}  // namespace lumetta
