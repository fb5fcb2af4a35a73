// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// Why settings cannot make a video, or nothing when they can: sizes must be even (the
// encoders halve colour resolution) and within 16x16 to 7680x4320; rates 1 to 120; lossless only
// in .mkv.
std::optional<QString> CheckVideoSettings(VideoContainer container, ExportQuality quality, QSize size, int fps);

}  // namespace lumetta
