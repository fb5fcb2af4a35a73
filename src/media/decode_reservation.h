// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

namespace lumetta {

// Memory a picture decode takes, reserved before it allocates. A decode that would take more
// than its file's budget is refused, so a few bytes claiming a huge picture cannot cost
// gigabytes; decodes running together on several threads (thumbnail workers, the player's
// prefetcher, the preview) hold at most kPoolBytes at once, a reservation waiting for room.
class DecodeReservation
{
public:
    // Any photo fits; a larger file may take more, in proportion to its size.
    static constexpr std::int64_t kBaseBudget = std::int64_t(448) << 20;
    static constexpr std::int64_t kBudgetPerFileByte = 16;
    static constexpr std::int64_t kPoolBytes = std::int64_t(512) << 20;

    // The most one decode of a file of `fileBytes` may allocate.
    static std::int64_t BudgetFor(std::int64_t fileBytes);
    // Bytes a pixel of `format` takes; 8 (the widest Qt decodes into) for a format not known.
    static int BytesPerPixel(QImage::Format format);
    // Bytes all live reservations hold now.
    static std::int64_t Reserved();

    // Reserves `bytes` for decoding `file` (`fileBytes` long) until destroyed; throws
    // PictureError naming the file when that is over its budget.
    DecodeReservation(std::int64_t bytes, std::int64_t fileBytes, const QString &file);
    ~DecodeReservation();
    DecodeReservation(const DecodeReservation &) = delete;
    DecodeReservation &operator=(const DecodeReservation &) = delete;

private:
    std::int64_t held_ = 0;
};

}  // namespace lumetta
