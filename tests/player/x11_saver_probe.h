// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace lumetta::testx11 {

// The X server's own screen saver, asked directly (the screen saver extension); nullopt off X11.
// Sets the idle time after which it comes on (0: never) and counts from now.
bool SetSaverTimeout(int seconds);
// True once the saver has come on.
std::optional<bool> SaverOn();

}  // namespace lumetta::testx11
