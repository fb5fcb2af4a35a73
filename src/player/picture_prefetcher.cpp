// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/picture_prefetcher.h"

#include <algorithm>
#include <exception>

namespace lumetta {

PicturePrefetcher::PicturePrefetcher() = default;

PicturePrefetcher::~PicturePrefetcher()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

std::list<PicturePrefetcher::Entry>::iterator PicturePrefetcher::Find(const QString &path, const SlideRequest &request)
{
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry &e) { return e.path == path && e.request == request; });
}

void PicturePrefetcher::Want(const QStringList &paths, const SlideRequest &request)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (Entry &entry : entries_)
            entry.wanted = entry.request == request && paths.contains(entry.path);
        entries_.remove_if([](const Entry &e) { return !e.wanted && !e.preparing; });
        for (const QString &path : paths)
            if (Find(path, request) == entries_.end())
                entries_.push_back(Entry{path, request, std::nullopt});
        if (!worker_.joinable() && !paths.isEmpty())
            worker_ = std::thread(&PicturePrefetcher::Work, this);
    }
    changed_.notify_all();
}

bool PicturePrefetcher::Ready(const QString &path, const SlideRequest &request)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto entry = Find(path, request);
    return entry != entries_.end() && entry->slide;
}

PreparedSlide PicturePrefetcher::Take(const QString &path, const SlideRequest &request)
{
    std::unique_lock<std::mutex> lock(mutex_);
    auto entry = Find(path, request);
    if (entry == entries_.end())
        entry = entries_.insert(entries_.end(), Entry{path, request, std::nullopt});
    entry->wanted = true;
    // A picture under way is waited for; one not started yet is prepared here at once.
    changed_.wait(lock, [&] { return !entry->preparing; });
    if (!entry->slide)
        Prepare(entry, lock);
    PreparedSlide slide = *entry->slide;
    // A picture that cannot be shown is skipped, so holding its failure would only let a run of
    // such pictures pile up.
    if (slide.error)
        entries_.erase(entry);
    return slide;
}

void PicturePrefetcher::Prepare(std::list<Entry>::iterator entry, std::unique_lock<std::mutex> &lock)
{
    entry->preparing = true;
    const QString path = entry->path;
    const SlideRequest request = entry->request;
    lock.unlock();
    PreparedSlide slide;
    try {
        slide = PrepareSlide(path, request);
    } catch (const std::exception &error) {
        slide.error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(error.what()));
    }
    lock.lock();
    entry->slide = std::move(slide);
    entry->preparing = false;
    changed_.notify_all();
}

void PicturePrefetcher::Work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        const auto next = std::find_if(entries_.begin(), entries_.end(),
                                       [](const Entry &e) { return e.wanted && !e.slide && !e.preparing; });
        if (next == entries_.end()) {
            changed_.wait(lock);
            continue;
        }
        Prepare(next, lock);
        if (!next->wanted)
            entries_.erase(next);
    }
}

}  // namespace lumetta
