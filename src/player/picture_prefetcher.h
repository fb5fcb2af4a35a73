// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/prepared_slide.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>

namespace lumetta {

// Prepares the slides a show will want next on a worker thread while the current slide shows,
// so that a slide step finds its picture decoded and scaled. One picture is prepared at a time,
// in the order asked for, and only the slides last asked for are kept, so a show holds a few
// pictures at most.
class PicturePrefetcher
{
public:
    PicturePrefetcher();
    // Waits for the picture being prepared, if any.
    ~PicturePrefetcher();
    PicturePrefetcher(const PicturePrefetcher &) = delete;
    PicturePrefetcher &operator=(const PicturePrefetcher &) = delete;

    // Keeps the slides of paths (prepared for request) and drops every other; those not held
    // yet are prepared in the background, in the order given.
    void Want(const QStringList &paths, const SlideRequest &request);
    // The slide of path for request: the one held, waited for while it is being prepared, or
    // else prepared now on the calling thread. It stays held until a Want leaves it out, unless
    // it failed.
    PreparedSlide Take(const QString &path, const SlideRequest &request);
    // True when the slide of path for request is held ready.
    bool Ready(const QString &path, const SlideRequest &request);

private:
    struct Entry
    {
        QString path;
        SlideRequest request;
        std::optional<PreparedSlide> slide;
        bool preparing = false;
        // Left out by the last Want: dropped once it is not being prepared.
        bool wanted = true;
    };

    std::list<Entry>::iterator Find(const QString &path, const SlideRequest &request);
    // Prepares the entry outside the lock (held on entry and on return).
    void Prepare(std::list<Entry>::iterator entry, std::unique_lock<std::mutex> &lock);
    void Work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::list<Entry> entries_;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace lumetta
