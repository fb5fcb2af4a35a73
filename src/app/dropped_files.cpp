// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dropped_files.h"

#include "app/picture_list_model.h"

#include <QDir>
#include <QFileInfo>

namespace lumetta {

QStringList DroppedFiles::Pictures(const QList<QUrl> &urls)
{
    QStringList pictures;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (info.isDir()) {
            const QDir folder(info.absoluteFilePath());
            for (const QFileInfo &file : folder.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase))
                if (IsAddablePictureName(file.fileName()))
                    pictures.append(file.absoluteFilePath());
        } else if (info.isFile() && IsAddablePictureName(info.fileName())) {
            pictures.append(info.absoluteFilePath());
        }
    }
    return pictures;
}

QString DroppedFiles::Project(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (info.isFile() && info.suffix().compare(QLatin1String("zut"), Qt::CaseInsensitive) == 0)
            return info.absoluteFilePath();
    }
    return QString();
}

}  // namespace lumetta
