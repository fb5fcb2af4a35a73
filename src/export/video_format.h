// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/frame_rate.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumetta {

// The containers a show is exported to, chosen by the target's extension.
enum class VideoContainer {
    Mp4,  // H.264 and AAC
    WebM,  // VP9 and Opus
    Mkv,  // H.264 and FLAC
};

enum class ExportQuality {
    Draft,
    Good,
    Best,
    Lossless,  // .mkv only: FFV1 in RGB and FLAC, frames exactly as composed
};

// The container for a file name's extension, regardless of case; none for any other.
std::optional<VideoContainer> ContainerForPath(const QString &path);
// ".mp4", ".webm" or ".mkv".
QString ContainerSuffix(VideoContainer container);
// What a user reads for the container, e.g. "MP4 (H.264 + AAC)".
QString ContainerTitle(VideoContainer container);
// `path` with its extension replaced by the container's (added when it has none).
QString WithContainerSuffix(const QString &path, VideoContainer container);

// "draft", "good", "best", "lossless"; none for any other word.
std::optional<ExportQuality> QualityFromText(const QString &text);
QString QualityText(ExportQuality quality);

// The largest frame the encoders carry: H.264's largest level holds 139,264 macroblocks of 16x16.
inline constexpr int kMaxVideoSide = 8192;
inline constexpr qint64 kMaxVideoPixels = qint64(139264) * 256;

// Why settings cannot make a video, or nothing when they can: sizes must be even (the
// encoders halve colour resolution), each side 16 to kMaxVideoSide and at most kMaxVideoPixels
// in all, so portrait and square videos fit as well as landscape ones; rates 1 to 120 frames a
// second; lossless only in .mkv.
std::optional<QString> CheckVideoSettings(VideoContainer container, ExportQuality quality, QSize size, FrameRate fps);

// Rounds an odd width or height down to even, as the encoders need; the note that says so, or
// nullopt when SIZE was even.
std::optional<QString> RoundToEvenSize(QSize &size);

}  // namespace lumetta
