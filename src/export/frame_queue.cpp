// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/frame_queue.h"

namespace lumetta {

bool FrameQueue::Push(Item item)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return abandoned_ || items_.size() < capacity_; });
    if (abandoned_)
        return false;
    items_.push_back(std::move(item));
    changed_.notify_all();
    return true;
}

std::optional<FrameQueue::Item> FrameQueue::Pop()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return abandoned_ || ended_ || !items_.empty(); });
    if (abandoned_ || items_.empty())
        return std::nullopt;
    Item item = std::move(items_.front());
    items_.pop_front();
    changed_.notify_all();
    return item;
}

void FrameQueue::EndInput()
{
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

void FrameQueue::Abandon()
{
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    items_.clear();
    changed_.notify_all();
}

}  // namespace lumetta
