// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumetta {

// Which way a wipe or a drip travels across the picture.
enum class TravelDirection { Right, Left, Down, Up, DownRight, DownLeft, UpRight, UpLeft, In, Out };

}  // namespace lumetta
