// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/frame_converter.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace lumetta {

// Hands converted frames from the thread that renders them to the thread that encodes them;
// holds a few at most, so rendering runs ahead of encoding by that much and no further.
class FrameQueue
{
public:
    struct Item
    {
        FramePointer frame;
        std::int64_t repeat = 1;  // how many video frames show it
    };

    explicit FrameQueue(std::size_t capacity) : capacity_(capacity) {}

    // Waits for room; false when the queue was abandoned (the encoder failed or stopped).
    bool Push(Item item);
    // Waits for an item; none once input ended and everything was taken, or when abandoned.
    std::optional<Item> Pop();
    // No more items will come.
    void EndInput();
    // Wakes both sides for good and drops what waits.
    void Abandon();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> items_;
    std::size_t capacity_;
    bool ended_ = false;
    bool abandoned_ = false;
};

}  // namespace lumetta
