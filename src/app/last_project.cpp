// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/last_project.h"

#include "app/recent_projects.h"
#include "show/list_files.h"

#include <QFileInfo>

namespace lumetta {

QString LastProject(const QString &folder)
{
    // A project moved or deleted since is passed over rather than failing the show.
    const auto playable = [](const QString &path) { return QFileInfo(path).isFile(); };
    RecentProjects recent(folder);
    recent.Load();
    for (const QString &path : recent.Paths())
        if (playable(path))
            return path;
    const ListFiles lists(folder);
    if (!QFileInfo::exists(lists.PathOf(ListFiles::kResumeFile)))
        return {};
    const QStringList resume = lists.ReadResume();
    if (resume.size() >= 2 && resume[1] != QLatin1String("No") && playable(resume[1]))
        return resume[1];
    return {};
}

}  // namespace lumetta
