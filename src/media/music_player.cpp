// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/music_player.h"

#include "common/regular_file.h"

#include <QEventLoop>

#include <QTimer>

#include <algorithm>

namespace lumetta {

namespace {

bool IsLoaded(QMediaPlayer::MediaStatus status)
{
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia
           || status == QMediaPlayer::BufferedMedia;
}

}  // namespace

MusicPlayer::MusicPlayer(QObject *parent) : QObject(parent), backend_(new MusicBackend(&shared_))
{
    thread_.setObjectName(QStringLiteral("music"));
    backend_->moveToThread(&thread_);
    // The framework's objects are made and freed on the music thread.
    connect(&thread_, &QThread::finished, backend_, &QObject::deleteLater);
    thread_.start();
}

MusicPlayer::~MusicPlayer()
{
    thread_.quit();
    thread_.wait();
}

MusicState MusicPlayer::Current() const
{
    const std::lock_guard<std::mutex> lock(shared_.mutex);
    if (shared_.state.generation == generation_)
        return shared_.state;
    MusicState loading;
    loading.generation = generation_;
    loading.status = QMediaPlayer::LoadingMedia;
    return loading;
}

bool MusicPlayer::CheckFile(const QString &path)
{
    Close();
    fileName_ = path;
    const quint64 generation = ++generation_;
    const std::lock_guard<std::mutex> lock(shared_.mutex);
    shared_.state = MusicState{generation, QMediaPlayer::LoadingMedia, 0, 0, QString()};
    // The framework would follow a pipe or a device, and wait on a pipe for ever.
    const QString problem = RegularFile::Problem(path);
    if (problem.isEmpty())
        return true;
    shared_.state.status = QMediaPlayer::NoMedia;
    shared_.state.error = QStringLiteral("Cannot open %1: %2").arg(RegularFile::ShownName(path), problem);
    return false;
}

bool MusicPlayer::OpenInBackground(const QString &path)
{
    if (!CheckFile(path))
        return false;
    closed_ = false;
    QMetaObject::invokeMethod(backend_, [backend = backend_, path, generation = generation_, volume = volume_] {
        backend->Open(path, generation, volume);
    });
    return true;
}

bool MusicPlayer::Loading() const
{
    if (closed_)
        return false;
    const MusicState state = Current();
    return state.error.isEmpty() && !IsLoaded(state.status) && state.status != QMediaPlayer::InvalidMedia;
}

bool MusicPlayer::Open(const QString &path)
{
    if (!OpenInBackground(path))
        return false;
    if (Loading()) {
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(backend_, &MusicBackend::Settled, &loop, [&loop, this](quint64 generation) {
            if (generation == generation_)
                loop.quit();
        });
        timeout.start(kOpenTimeoutMs);
        // The medium may have settled before the loop listened.
        if (Loading())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    const MusicState state = Current();
    QString error = state.error;
    if (error.isEmpty() && !IsLoaded(state.status))
        error =
            QStringLiteral("Cannot open %1: it did not load within %2 seconds").arg(path).arg(kOpenTimeoutMs / 1000);
    if (error.isEmpty())
        return true;
    {
        const std::lock_guard<std::mutex> lock(shared_.mutex);
        if (shared_.state.generation == generation_)
            shared_.state.error = error;
    }
    Close();
    return false;
}

void MusicPlayer::Play()
{
    if (!closed_)
        QMetaObject::invokeMethod(backend_,
                                  [backend = backend_, generation = generation_] { backend->Play(generation); });
}

void MusicPlayer::Stop()
{
    if (!closed_)
        QMetaObject::invokeMethod(backend_,
                                  [backend = backend_, generation = generation_] { backend->Stop(generation); });
}

void MusicPlayer::Close()
{
    if (!closed_)
        QMetaObject::invokeMethod(backend_,
                                  [backend = backend_, generation = generation_] { backend->Close(generation); });
    closed_ = true;
}

void MusicPlayer::SetVolume(float volume)
{
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    QMetaObject::invokeMethod(backend_, [backend = backend_, volume = volume_] { backend->SetVolume(volume); });
}

qint64 MusicPlayer::Length() const
{
    return closed_ ? 0 : Current().duration;
}

qint64 MusicPlayer::Position() const
{
    return closed_ ? 0 : Current().position;
}

bool MusicPlayer::IsPlaying(qint64 marginMs) const
{
    if (closed_)
        return false;
    const MusicState state = Current();
    if (!state.error.isEmpty() || state.status == QMediaPlayer::EndOfMedia || state.status == QMediaPlayer::InvalidMedia
        || state.status == QMediaPlayer::NoMedia)
        return false;
    return state.duration == 0 || state.duration >= state.position + marginMs;
}

QString MusicPlayer::ErrorString() const
{
    const std::lock_guard<std::mutex> lock(shared_.mutex);
    return shared_.state.generation == generation_ ? shared_.state.error : QString();
}

}  // namespace lumetta
