// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/music_backend.h"

#include "media/playback_failure.h"

#include <QFileInfo>
#include <QUrl>

namespace lumetta {

namespace {

bool IsSettled(QMediaPlayer::MediaStatus status)
{
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia
           || status == QMediaPlayer::BufferedMedia || status == QMediaPlayer::InvalidMedia;
}

}  // namespace

MusicBackend::MusicBackend(SharedState *shared) : shared_(shared)
{
}

MusicBackend::~MusicBackend() = default;

void MusicBackend::Publish(const std::function<void(MusicState &)> &change)
{
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    if (shared_->state.generation == generation_)
        change(shared_->state);
}

void MusicBackend::Fail(const QString &path, const QString &text)
{
    // The framework's own text names neither the file nor, in words a user knows, what is missing.
    const QString error = DescribePlaybackFailure(path, text);
    Publish([&error](MusicState &state) {
        if (state.error.isEmpty())
            state.error = error;
    });
}

void MusicBackend::Open(const QString &path, quint64 generation, float volume)
{
    player_.reset();
    output_.reset();
    generation_ = generation;
    output_ = std::make_unique<QAudioOutput>();
    output_->setVolume(volume);
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(output_.get());
    connect(player_.get(), &QMediaPlayer::errorOccurred, this,
            [this, path, generation](QMediaPlayer::Error, const QString &text) {
                Fail(path, text);
                emit Settled(generation);
            });
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this,
            [this, path, generation](QMediaPlayer::MediaStatus status) {
                Publish([status](MusicState &state) { state.status = status; });
                if (status == QMediaPlayer::InvalidMedia)
                    Fail(path, QString());
                if (IsSettled(status))
                    emit Settled(generation);
            });
    connect(player_.get(), &QMediaPlayer::durationChanged, this,
            [this](qint64 duration) { Publish([duration](MusicState &state) { state.duration = duration; }); });
    connect(player_.get(), &QMediaPlayer::positionChanged, this,
            [this](qint64 position) { Publish([position](MusicState &state) { state.position = position; }); });
    player_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    const QMediaPlayer::MediaStatus status = player_->mediaStatus();
    Publish([status](MusicState &state) { state.status = status; });
    if (IsSettled(status))
        emit Settled(generation);
}

void MusicBackend::Play(quint64 generation)
{
    if (generation == generation_ && player_)
        player_->play();
}

void MusicBackend::Stop(quint64 generation)
{
    if (generation == generation_ && player_)
        player_->stop();
}

void MusicBackend::Close(quint64 generation)
{
    if (generation != generation_)
        return;
    player_.reset();
    output_.reset();
}

void MusicBackend::SetVolume(float volume)
{
    if (output_)
        output_->setVolume(volume);
}

}  // namespace lumetta
