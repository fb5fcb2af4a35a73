// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_format.h"

#include <QFileInfo>

namespace lumetta {

std::optional<VideoContainer> ContainerForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("mp4"))
        return VideoContainer::Mp4;
    if (suffix == QLatin1String("webm"))
        return VideoContainer::WebM;
    if (suffix == QLatin1String("mkv"))
        return VideoContainer::Mkv;
    return std::nullopt;
}

QString ContainerSuffix(VideoContainer container)
{
    switch (container) {
    case VideoContainer::Mp4:
        return QStringLiteral(".mp4");
    case VideoContainer::WebM:
        return QStringLiteral(".webm");
    case VideoContainer::Mkv:
        return QStringLiteral(".mkv");
    }
    return {};
}

QString ContainerTitle(VideoContainer container)
{
    switch (container) {
    case VideoContainer::Mp4:
        return QStringLiteral("MP4 (H.264 + AAC)");
    case VideoContainer::WebM:
        return QStringLiteral("WebM (VP9 + Opus)");
    case VideoContainer::Mkv:
        return QStringLiteral("MKV (H.264 + FLAC)");
    }
    return {};
}

QString WithContainerSuffix(const QString &path, VideoContainer container)
{
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    QString base = path;
    if (!info.suffix().isEmpty() && !info.completeBaseName().isEmpty())
        base.chop(info.suffix().size() + 1);
    return base + ContainerSuffix(container);
}

std::optional<ExportQuality> QualityFromText(const QString &text)
{
    if (text == QLatin1String("draft"))
        return ExportQuality::Draft;
    if (text == QLatin1String("good"))
        return ExportQuality::Good;
    if (text == QLatin1String("best"))
        return ExportQuality::Best;
    if (text == QLatin1String("lossless"))
        return ExportQuality::Lossless;
    return std::nullopt;
}

QString QualityText(ExportQuality quality)
{
    switch (quality) {
    case ExportQuality::Draft:
        return QStringLiteral("draft");
    case ExportQuality::Good:
        return QStringLiteral("good");
    case ExportQuality::Best:
        return QStringLiteral("best");
    case ExportQuality::Lossless:
        return QStringLiteral("lossless");
    }
    return {};
}

std::optional<QString> CheckVideoSettings(VideoContainer container, ExportQuality quality, QSize size, FrameRate fps)
{
    if (size.width() < 16 || size.height() < 16 || size.width() > kMaxVideoSide || size.height() > kMaxVideoSide
        || qint64(size.width()) * size.height() > kMaxVideoPixels)
        return QStringLiteral("The video size %1x%2 is outside what the encoders carry: each side 16 to %3, at most "
                              "%4 million pixels")
            .arg(size.width())
            .arg(size.height())
            .arg(kMaxVideoSide)
            .arg(double(kMaxVideoPixels) / 1e6, 0, 'f', 1);
    if (size.width() % 2 || size.height() % 2)
        return QStringLiteral("The video size %1x%2 must have an even width and height")
            .arg(size.width())
            .arg(size.height());
    if (fps.num <= 0 || fps.den <= 0 || fps.Value() < 1 || fps.Value() > 120)
        return QStringLiteral("The frame rate %1 is outside 1 to 120").arg(fps.Text());
    if (quality == ExportQuality::Lossless && container != VideoContainer::Mkv)
        return QStringLiteral("Lossless video is written only to .mkv files");
    return std::nullopt;
}

std::optional<QString> RoundToEvenSize(QSize &size)
{
    const QSize even(size.width() - size.width() % 2, size.height() - size.height() % 2);
    if (even == size)
        return std::nullopt;
    const QString note = QStringLiteral("The video size %1x%2 is rounded to %3x%4: the encoders need an even width "
                                        "and height")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(even.width())
                             .arg(even.height());
    size = even;
    return note;
}

}  // namespace lumetta
