// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdio>
#include <optional>

namespace lumetta {

// `lumetta --play FILE`: plays the project file full screen with its own settings, effect
// selection and playlist, without touching the list files. Returns the exit status: 0 when
// the show has ended, 1 (with a message on `errors`) when it could not start.
// SCREEN picks the screen by number (see ScreenByNumber); the primary one when not given.
int PlayProjectFile(const QString &path, std::FILE *errors = stderr, std::optional<int> screen = std::nullopt);

}  // namespace lumetta
