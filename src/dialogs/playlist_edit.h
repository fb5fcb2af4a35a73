// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace lumetta {

// Editing of the playlist by its highlighted row (-1 when none). Each returns the row highlighted
// afterwards; a row that does not apply changes nothing.

// Exchanges the entry with the one above; the highlight moves with it.
int PlaylistMoveUp(QStringList &playlist, int row);
// Exchanges the entry with the one below; the highlight moves with it.
int PlaylistMoveDown(QStringList &playlist, int row);
// Deletes the entry; the entry that takes its place (or the new last one) is highlighted.
int PlaylistRemove(QStringList &playlist, int row);

}  // namespace lumetta
