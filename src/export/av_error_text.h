// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

extern "C" {
#include <libavutil/error.h>
}

namespace lumetta {

// FFmpeg's text for the error status CODE.
inline QString AvErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

}  // namespace lumetta
