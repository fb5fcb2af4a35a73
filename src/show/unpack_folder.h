// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace lumetta {

// The temporary folder a standalone player unpacks its show into: "Lumetta-PID-XXXXXX" in the
// temporary folder, named after the player's process so that a later player can tell a folder
// left by one that was killed from one still in use.
class UnpackFolder
{
public:
    // Creates the folder in TEMPPATH (the system's temporary folder by default).
    explicit UnpackFolder(const QString &tempPath = QString());

    bool IsValid() const { return dir_.isValid(); }
    QString ErrorString() const { return dir_.errorString(); }
    QString Path() const { return dir_.path(); }
    // Removes the folder and everything in it now; the destructor does the same.
    bool Remove() { return dir_.remove(); }

    // Removes the folders of this kind in TEMPPATH whose process is gone and that belong to this
    // user; folders of running players, links and other names stay. Returns how many went.
    static int RemoveStale(const QString &tempPath = QString());

private:
    QTemporaryDir dir_;
};

}  // namespace lumetta
