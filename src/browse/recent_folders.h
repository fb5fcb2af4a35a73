// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QMenu;

namespace lumetta {

// The recent folders kept in "dires.lst" and the content of the "Recent Folders" menu built from
// them at start. A first line "Empty" (or an empty file) means none; a first line "Clear" keeps
// the folders but leaves the menu with its single "Empty" entry. More than five are trimmed to
// the last five at load. Folders added later are recorded but reach the menu only at next start.
class RecentFolders
{
public:
    // Takes the lines of "dires.lst".
    void Load(const QStringList &lines);

    // The folders, oldest first, as "dires.lst" holds them.
    const QStringList &Folders() const { return folders_; }

    // Menu captions: one per folder, or the single inactive entry "Empty".
    const QStringList &MenuEntries() const { return menuEntries_; }
    // True when the menu entries are folders to open (not the "Empty" placeholder).
    bool MenuOpensFolders() const { return menuOpensFolders_; }

    // Appends folder unless it is already there (exact comparison); true when the list changed
    // and "dires.lst" must be written.
    bool Add(const QString &folder);

    // Replaces the actions of menu by the menu entries; a folder entry calls open with its path.
    // Captions show the paths exactly ("&" is not taken as an accelerator mark).
    void FillMenu(QMenu *menu, const std::function<void(const QString &)> &open) const;

private:
    QStringList folders_;
    QStringList menuEntries_{QStringLiteral("Empty")};
    bool menuOpensFolders_ = false;
};

// The folder to show at start from the lines of "dir.lst": line 0, where the first-run value
// "c:\" (or nothing) stands for the home folder.
QString StartFolder(const QStringList &lines);

}  // namespace lumetta
