// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace lumetta {

// Largest picture any decoder accepts, in pixels (a 32-bit image of this size takes 1 GiB).
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 28;

// A picture that cannot be read or decoded. The message names the file and the reason.
class PictureError : public std::runtime_error
{
public:
    PictureError(const QString &file, const QString &reason);

    const QString &File() const { return file_; }
    const QString &Reason() const { return reason_; }
    // "Cannot load picture FILE: REASON", for showing to the user.
    QString Message() const;

private:
    QString file_;
    QString reason_;
};

// Throws PictureError when width x height is not a positive size within kMaxPicturePixels.
void CheckPictureSize(std::int64_t width, std::int64_t height, const QString &file);

}  // namespace lumetta
