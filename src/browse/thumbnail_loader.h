// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browse/picture_reader.h"
#include "browse/shared_thumbnail_cache.h"

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <deque>

namespace lumetta {

// Thumbnails of picture files, made on worker threads and kept for the session. Views ask for
// the rows they paint; what is not made yet is queued, the latest request first, so the rows on
// screen come before rows scrolled past, and old requests beyond a limit are dropped (a view
// asks again when it paints them). Results arrive on the loader's thread through Ready.
// Thumbnails are taken from and added to the cache shared with file managers.
class ThumbnailLoader : public QObject
{
    Q_OBJECT
public:
    struct Thumbnail
    {
        PictureReader::Status status = PictureReader::Status::Ok;
        QPixmap pixmap;  // empty when missing or unreadable
        QString reason;
    };

    // Requests beyond this many wait nowhere: a screenful of rows is far fewer.
    static constexpr int kMaxQueued = 256;

    // BOUND is in logical pixels; pixmaps are made for RATIO device pixels per logical pixel.
    explicit ThumbnailLoader(const QSize &bound, qreal ratio = 1.0, QObject *parent = nullptr,
                             const SharedThumbnailCache &cache = SharedThumbnailCache());
    ~ThumbnailLoader() override;

    QSize Bound() const { return bound_; }

    // The thumbnail of PATH when it is made; otherwise nullptr, and PATH is queued.
    const Thumbnail *Find(const QString &path);
    // The thumbnail of PATH when it is made, without queueing it.
    const Thumbnail *Cached(const QString &path) const;

    // Paths queued, being made, or made and not yet delivered to this object's thread.
    int Pending() const;
    // Paths waiting for a worker: never more than kMaxQueued.
    int Queued() const;
    // Runs the event loop until nothing is pending or MSECS have passed; true when done.
    bool WaitUntilIdle(int msecs);

signals:
    void Ready(const QString &path);

private:
    void Work();
    PictureReader::Result Make(const QString &path, const QSize &devicePixels) const;
    void Deliver(const QString &path, const PictureReader::Result &result);

    QSize bound_;
    qreal ratio_;
    SharedThumbnailCache cache_;
    QThreadPool pool_;
    mutable QMutex mutex_;
    std::deque<QString> queue_;  // the latest request at the back
    QSet<QString> pending_;  // queued, being made or on the way to Deliver
    int workers_ = 0;
    bool stopping_ = false;
    QHash<QString, Thumbnail> made_;
};

}  // namespace lumetta
