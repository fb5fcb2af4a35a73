// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/thumbnail_loader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QMutexLocker>
#include <QThread>

#include <cmath>

#include <sys/resource.h>
#include <unistd.h>

namespace lumetta {

namespace {

constexpr int kWorkerNiceness = 10;

}  // namespace

ThumbnailLoader::ThumbnailLoader(const QSize &bound, qreal ratio, QObject *parent, const SharedThumbnailCache &cache)
    : QObject(parent),
      bound_(bound),
      ratio_(ratio),
      cache_(cache)
{
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader()
{
    {
        const QMutexLocker lock(&mutex_);
        stopping_ = true;
        queue_.clear();
    }
    // Results still posted to this object are dropped with it.
    pool_.waitForDone();
}

const ThumbnailLoader::Thumbnail *ThumbnailLoader::Cached(const QString &path) const
{
    const auto it = made_.constFind(path);
    return it == made_.constEnd() ? nullptr : &*it;
}

const ThumbnailLoader::Thumbnail *ThumbnailLoader::Find(const QString &path)
{
    if (const Thumbnail *made = Cached(path))
        return made;
    const QMutexLocker lock(&mutex_);
    if (pending_.contains(path))
        return nullptr;
    pending_.insert(path);
    queue_.push_back(path);
    if (queue_.size() > std::size_t(kMaxQueued)) {
        pending_.remove(queue_.front());
        queue_.pop_front();
    }
    if (workers_ < pool_.maxThreadCount()) {
        ++workers_;
        pool_.start([this] { Work(); });
    }
    return nullptr;
}

int ThumbnailLoader::Pending() const
{
    const QMutexLocker lock(&mutex_);
    return int(pending_.size());
}

int ThumbnailLoader::Queued() const
{
    const QMutexLocker lock(&mutex_);
    return int(queue_.size());
}

bool ThumbnailLoader::WaitUntilIdle(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (Pending() > 0) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void ThumbnailLoader::Work()
{
    // The window's thread comes first: on a busy machine a thumbnail may wait, a click may not.
    setpriority(PRIO_PROCESS, id_t(gettid()), kWorkerNiceness);
    const QSize devicePixels(int(std::ceil(bound_.width() * ratio_)), int(std::ceil(bound_.height() * ratio_)));
    for (;;) {
        QString path;
        {
            const QMutexLocker lock(&mutex_);
            if (stopping_ || queue_.empty()) {
                --workers_;
                return;
            }
            path = queue_.back();
            queue_.pop_back();
        }
        const PictureReader::Result result = Make(path, devicePixels);
        QMetaObject::invokeMethod(
            this, [this, path, result] { Deliver(path, result); }, Qt::QueuedConnection);
    }
}

// A fresh thumbnail from the shared cache saves the decode; one made here is made at the cache's
// size and stored, so that file managers and the next start find it.
PictureReader::Result ThumbnailLoader::Make(const QString &path, const QSize &devicePixels) const
{
    const QFileInfo file(path);
    const int side = SharedThumbnailCache::SideFor(devicePixels);
    PictureReader::Result result;
    result.image = cache_.Read(file, side);
    if (!result.image.isNull()) {
        result.status = PictureReader::Status::Ok;
    } else {
        result = PictureReader::ForThumbnail(path, QSize(side, side));
        if (result.status == PictureReader::Status::Ok)
            cache_.Write(file, side, result.image);
    }
    if (!result.image.isNull() && !QRect(QPoint(), devicePixels).contains(QRect(QPoint(), result.image.size())))
        result.image = result.image.scaled(PictureReader::FitInside(result.image.size(), devicePixels),
                                           Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return result;
}

void ThumbnailLoader::Deliver(const QString &path, const PictureReader::Result &result)
{
    {
        const QMutexLocker lock(&mutex_);
        pending_.remove(path);
    }
    Thumbnail thumbnail{result.status, QPixmap(), result.reason};
    if (!result.image.isNull()) {
        thumbnail.pixmap = QPixmap::fromImage(result.image);
        thumbnail.pixmap.setDevicePixelRatio(ratio_);
    }
    made_.insert(path, thumbnail);
    emit Ready(path);
}

}  // namespace lumetta
