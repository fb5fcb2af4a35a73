// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/music_backend.h"

#include <QObject>
#include <QString>
#include <QThread>

namespace lumetta {

// The music back end: one medium at a time, played in the background. The media framework works
// on a thread of its own: starting it (loading its libraries, the first time in a process) and
// opening media happen there, so the caller's thread waits for them only when it asks to (open).
// Times are milliseconds.
class MusicPlayer : public QObject
{
    Q_OBJECT

public:
    // How long open() waits for the medium to load before giving up.
    static constexpr int kOpenTimeoutMs = 5000;

    explicit MusicPlayer(QObject *parent = nullptr);
    ~MusicPlayer() override;

    // Closes the open medium, then opens `path` and waits (handling no user input) until it is
    // loaded or has failed. On failure returns false and ErrorString() says why.
    bool Open(const QString &path);
    // Closes the open medium and starts opening `path` without waiting: false at once only when
    // the file is not there; Loading() tells whether the back end is still at it, and a failure
    // it finds later shows in ErrorString().
    bool OpenInBackground(const QString &path);
    // Closes the open medium and names `path` as the next one without opening it: false when
    // the file is not there, errorString() then saying so.
    bool CheckFile(const QString &path);
    bool Loading() const;
    // Starts playing from the current position (once loaded) and returns at once.
    void Play();
    void Stop();
    // Lets go of the medium, so one still loading cannot start playing later; errorString()
    // still says what went wrong with it.
    void Close();

    // Loudness from 0 (silent) to 1 (full); kept for the media opened later.
    void SetVolume(float volume);
    float Volume() const { return volume_; }

    const QString &FileName() const { return fileName_; }
    qint64 Length() const;
    qint64 Position() const;
    // True until fewer than `marginMs` are left or the medium has ended or failed; a medium
    // whose length still reads 0 (one still loading, too) counts as playing.
    bool IsPlaying(qint64 marginMs = 10) const;
    QString ErrorString() const;

private:
    // A copy of the state of the current opening (a newer one than the music thread has taken up
    // reads as loading).
    MusicState Current() const;

    MusicBackend::SharedState shared_;
    QThread thread_;
    MusicBackend *backend_;
    quint64 generation_ = 0;
    // The current medium failed or was closed: nothing plays.
    bool closed_ = true;
    QString fileName_;
    float volume_ = 1.0f;
};

}  // namespace lumetta
