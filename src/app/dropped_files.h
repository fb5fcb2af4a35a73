// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace lumetta {

// What files dropped on the window stand for.
class DroppedFiles
{
public:
    // The pictures among URLS, in their order: local files with a name the picture list takes,
    // and for a folder the pictures in it (not in its subfolders, hidden ones left out), by name.
    static QStringList Pictures(const QList<QUrl> &urls);
    // The first local project file (".zut" in any letter case) among URLS; empty when none.
    static QString Project(const QList<QUrl> &urls);
};

}  // namespace lumetta
