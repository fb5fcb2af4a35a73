// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMediaPlayer>
#include <QString>

namespace lumetta {

// What the music thread last heard about a medium.
struct MusicState
{
    // The opening these fields describe; 0 before the first.
    quint64 generation = 0;
    QMediaPlayer::MediaStatus status = QMediaPlayer::NoMedia;
    qint64 duration = 0;
    qint64 position = 0;
    QString error;
};

}  // namespace lumetta
