// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/decode_reservation.h"

#include "media/picture_error.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace lumetta {

namespace {

struct Pool
{
    std::mutex mutex;
    std::condition_variable freed;
    std::int64_t reserved = 0;
};

Pool &SharedPool()
{
    static Pool pool;
    return pool;
}

QString Megabytes(std::int64_t bytes)
{
    return QString::number((bytes + (std::int64_t(1) << 20) - 1) >> 20);
}

}  // namespace

std::int64_t DecodeReservation::BudgetFor(std::int64_t fileBytes)
{
    return std::max(kBaseBudget, kBudgetPerFileByte * std::max<std::int64_t>(fileBytes, 0));
}

int DecodeReservation::BytesPerPixel(QImage::Format format)
{
    if (format == QImage::Format_Invalid)
        return 8;
    return std::max(1, (QImage::toPixelFormat(format).bitsPerPixel() + 7) / 8);
}

std::int64_t DecodeReservation::Reserved()
{
    Pool &pool = SharedPool();
    const std::lock_guard lock(pool.mutex);
    return pool.reserved;
}

DecodeReservation::DecodeReservation(std::int64_t bytes, std::int64_t fileBytes, const QString &file)
{
    if (bytes > BudgetFor(fileBytes))
        throw PictureError(file, QStringLiteral("the picture is too large: showing it would take %1 MB of memory, "
                                                "and a file of this size may take at most %2 MB")
                                     .arg(Megabytes(bytes), Megabytes(BudgetFor(fileBytes))));
    // A decode larger than the pool waits until it has the pool to itself.
    held_ = std::min(std::max<std::int64_t>(bytes, 0), kPoolBytes);
    Pool &pool = SharedPool();
    std::unique_lock lock(pool.mutex);
    pool.freed.wait(lock, [this, &pool] { return pool.reserved + held_ <= kPoolBytes; });
    pool.reserved += held_;
}

DecodeReservation::~DecodeReservation()
{
    Pool &pool = SharedPool();
    {
        const std::lock_guard lock(pool.mutex);
        pool.reserved -= held_;
    }
    pool.freed.notify_all();
}

}  // namespace lumetta
