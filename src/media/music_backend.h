// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/music_state.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

namespace lumetta {

// The media framework's side of MusicPlayer: lives on the music thread, where it starts the
// framework, opens media and plays them, and publishes what it hears into a MusicState. Every
// request names the opening it belongs to; requests for an older one are ignored.
class MusicBackend : public QObject
{
    Q_OBJECT

public:
    // The state as the music thread writes it and MusicPlayer reads it on its own thread.
    struct SharedState
    {
        mutable std::mutex mutex;
        MusicState state;
    };

    explicit MusicBackend(SharedState *shared);
    ~MusicBackend() override;

    void Open(const QString &path, quint64 generation, float volume);
    void Play(quint64 generation);
    void Stop(quint64 generation);
    void Close(quint64 generation);
    void SetVolume(float volume);

signals:
    // The medium of that opening has loaded or failed.
    void Settled(quint64 generation);

private:
    void Publish(const std::function<void(MusicState &)> &change);
    void Fail(const QString &path, const QString &text);

    SharedState *shared_;
    quint64 generation_ = 0;
    // A fresh player per medium, so late reports about a closed medium cannot reach the next.
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> output_;
};

}  // namespace lumetta
