// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/playback_failure.h"

#include <QMimeDatabase>

namespace lumetta {

QString DescribePlaybackFailure(const QString &path, const QString &backEndText)
{
    // By content alone: a name says nothing about whether the data is what it claims.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent);
    const QString name = type.name();
    if (type.inherits(QStringLiteral("audio/midi")) || name == QLatin1String("audio/x-midi"))
        return QStringLiteral("Cannot play %1: no MIDI synthesizer is installed").arg(path);
    if (name.startsWith(QLatin1String("audio/")) || name.startsWith(QLatin1String("video/"))
        || type.inherits(QStringLiteral("application/ogg")) || name == QLatin1String("application/vnd.ms-asf"))
        return QStringLiteral("Cannot play %1: no decoder for %2 is installed").arg(path, type.comment());
    if (backEndText.isEmpty())
        return QStringLiteral("Cannot play %1: the file is not a playable medium").arg(path);
    return QStringLiteral("Cannot play %1: the file is not a playable medium (%2)").arg(path, backEndText);
}

}  // namespace lumetta
