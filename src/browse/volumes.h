// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace lumetta {

// A mounted volume as the browsers show it (the counterpart of a drive letter).
struct VolumeInfo
{
    QString rootPath;  // with a trailing "/"
    QString displayName;  // label and root, e.g. "Backup (/media/backup/)", or the root alone
    QString typeText;  // "Fixed", "Removable", "Remote" or "CDROM"
    bool ready = false;  // sizes could be read
    qint64 totalBytes = 0;
    qint64 freeBytes = 0;
};

// Volumes with real file systems (no kernel or memory file systems), the root file system first.
QList<VolumeInfo> MountedVolumes();

// True for "/" and for the root folder (with its trailing "/") of a mounted volume.
bool IsVolumeRoot(const QString &folder);

}  // namespace lumetta
