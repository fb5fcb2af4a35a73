// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browse/volumes.h"

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumetta {

// Attribute classes of files a listing takes; hidden = name starting with ".", read-only = no
// write permission for this user, system and archive are never set on this platform.
enum FileTypeFlag {
    ReadOnlyFiles = 0x01,
    HiddenFiles = 0x02,
    SystemFiles = 0x04,
    ArchiveFiles = 0x20,
    NormalFiles = 0x80,
};
Q_DECLARE_FLAGS(FileTypes, FileTypeFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(FileTypes)

// Positions in ExplorerEntry::subItems.
enum ExplorerSubItem {
    SizeItem = 0,  // bytes, " " for a folder; volume type text for a volume
    TypeItem = 1,  // type name; total size of a volume
    ModifiedItem = 2,  // "MM/dd/yyyy hh:mm"; free space of a volume
    AttributesItem = 3,  // "A", "R", "H", "S" letters in this order; empty for a volume
    PathItem = 4,  // full path; a volume's root with its trailing "/"
    KindItem = 5,  // "file", "dir" or "drv"
};

// One row of the explorer: its caption (a file name or a volume's display name) and six texts.
struct ExplorerEntry
{
    QString caption;
    QStringList subItems;
};

// The word that stands for the volume list, in any letter case.
bool IsDrivesDirectory(const QString &directory);

// The masks of a ";"-separated list, empty parts dropped.
QStringList SplitMask(const QString &mask);

// A name matches a mask as on a desktop file dialog: "*" and "?" wildcards, letter case ignored,
// "*.*" matches every name (also one without a dot).
bool MaskMatches(const QString &name, const QString &mask);

// The contents of folder (with its trailing "/"): first its subfolders, then the files matching
// each mask in turn; read-only and hidden entries only when fileType holds ReadOnlyFiles or HiddenFiles.
// A file matching several masks is listed once.
QList<ExplorerEntry> ListFolder(const QString &folder, const QString &mask, FileTypes fileType);

QList<ExplorerEntry> ListVolumes(const QList<VolumeInfo> &volumes);

// "1,234,567": thousands separated by commas.
QString FormatThousands(qint64 value);

// Order of two entries by a column (0 = caption, n = sub-item n - 1): folders first, then by the
// column; descending reverses the whole order (folders then last).
int CompareEntries(const ExplorerEntry &a, const ExplorerEntry &b, int column, bool descending);

// Where going up from directory leads: nothing (empty) from the volume list, "Drives" from a
// volume root, else the parent folder with its trailing "/".
QString ParentDirectory(const QString &directory);

}  // namespace lumetta
