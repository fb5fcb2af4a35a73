// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <optional>

namespace lumetta {

// How long the playlist plays once through, in milliseconds: each track opened in turn by the
// music back end (waiting for it, handling no user input) and its length added; a track that
// cannot be opened counts nothing. Nullopt when no track has a length.
std::optional<qint64> PlaylistLengthMs(const QStringList &playlist);

}  // namespace lumetta
