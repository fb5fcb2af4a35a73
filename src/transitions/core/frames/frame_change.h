// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/shapes/half_open_rect.h"

namespace lumetta {

// What a frame changed: the smallest rectangle holding every changed pixel and, inside it, a
// part that still shows what it showed (empty when there is none). Both lie in the picture.
struct FrameChange
{
    HalfOpenRect update;
    HalfOpenRect unchanged;
};

}  // namespace lumetta
