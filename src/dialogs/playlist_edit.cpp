// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/playlist_edit.h"

namespace lumetta {

int PlaylistMoveUp(QStringList &playlist, int row)
{
    if (playlist.size() < 2 || row < 1 || row >= playlist.size())
        return row;
    playlist.swapItemsAt(row, row - 1);
    return row - 1;
}

int PlaylistMoveDown(QStringList &playlist, int row)
{
    if (playlist.size() < 2 || row < 0 || row >= playlist.size() - 1)
        return row;
    playlist.swapItemsAt(row, row + 1);
    return row + 1;
}

int PlaylistRemove(QStringList &playlist, int row)
{
    if (row < 0 || row >= playlist.size())
        return row;
    playlist.removeAt(row);
    return playlist.isEmpty() ? -1 : std::min<int>(row, playlist.size() - 1);
}

}  // namespace lumetta
