// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/volumes.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace lumetta {

namespace {

QString WithSlash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

bool IsRemote(const QByteArray &type)
{
    static const QByteArrayList kRemote = {"nfs",   "nfs4",       "cifs",  "smb3", "smbfs", "9p",
                                           "davfs", "fuse.sshfs", "sshfs", "afs",  "ceph",  "glusterfs"};
    return kRemote.contains(type);
}

QString TypeText(const QStorageInfo &storage)
{
    const QByteArray type = storage.fileSystemType();
    if (IsRemote(type))
        return QStringLiteral("Remote");
    if (type == "iso9660" || type == "udf")
        return QStringLiteral("CDROM");
    const QString root = storage.rootPath();
    if (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/"))
        || root.startsWith(QLatin1String("/mnt/")))
        return QStringLiteral("Removable");
    return QStringLiteral("Fixed");
}

// Block devices and network shares hold files; proc, sysfs, tmpfs, snap images and the like do not
// (the root file system always counts, whatever a container mounts there).
bool IsRealFileSystem(const QStorageInfo &storage)
{
    if (!storage.isValid() || !QFileInfo(storage.rootPath()).isDir())
        return false;
    if (storage.isRoot())
        return true;
    if (storage.fileSystemType() == "squashfs")
        return false;
    return storage.device().startsWith("/dev/") || IsRemote(storage.fileSystemType());
}

}  // namespace

QList<VolumeInfo> MountedVolumes()
{
    QList<VolumeInfo> volumes;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!IsRealFileSystem(storage))
            continue;
        VolumeInfo volume;
        volume.rootPath = WithSlash(storage.rootPath());
        const QString name = storage.name();
        volume.displayName = name.isEmpty() ? volume.rootPath : QStringLiteral("%1 (%2)").arg(name, volume.rootPath);
        volume.typeText = TypeText(storage);
        volume.ready = storage.isReady();
        if (volume.ready) {
            volume.totalBytes = storage.bytesTotal();
            volume.freeBytes = storage.bytesAvailable();
        }
        if (storage.isRoot())
            volumes.prepend(volume);
        else
            volumes.append(volume);
    }
    return volumes;
}

bool IsVolumeRoot(const QString &folder)
{
    if (folder == QLatin1String("/"))
        return true;
    for (const VolumeInfo &volume : MountedVolumes()) {
        if (volume.rootPath == folder)
            return true;
    }
    return false;
}

}  // namespace lumetta
