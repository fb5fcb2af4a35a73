// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lumetta {

// Why a music file the back end refused cannot play, in plain words, naming the file: a file
// whose content is recognisably audio lacks its decoder ("no MIDI synthesizer is installed",
// "no decoder for FLAC audio is installed"); anything else is not a playable medium, with the
// back end's own text when it has one.
QString DescribePlaybackFailure(const QString &path, const QString &backEndText);

}  // namespace lumetta
