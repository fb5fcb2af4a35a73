// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/playlist_length.h"

#include "media/music_player.h"

namespace lumetta {

std::optional<qint64> PlaylistLengthMs(const QStringList &playlist)
{
    if (playlist.isEmpty())
        return std::nullopt;
    MusicPlayer player;
    qint64 total = 0;
    for (const QString &track : playlist)
        if (player.Open(track))
            total += std::max<qint64>(0, player.Length());
    player.Close();
    return total > 0 ? std::optional<qint64>(total) : std::nullopt;
}

}  // namespace lumetta
