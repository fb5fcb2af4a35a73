// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Memory for frame buffers: 64-byte aligned, and kept for reuse when given back. A fresh buffer
// of a full-HD frame costs some two thousand page faults on first touch, which would otherwise
// fall into every run's set-up; a few recently freed blocks are therefore held, bounded in number
// and bytes, and handed out again for requests of about their size. Safe on any thread.
namespace lumetta {

// At least bytes of memory starting on a 64-byte boundary; null when there is none.
void *TakeFrameMemory(std::size_t bytes);
// Gives back memory from TakeFrameMemory (null is ignored).
void GiveBackFrameMemory(void *memory);
// Frees every block held for reuse.
void ReleaseKeptFrameMemory();

}  // namespace lumetta
