#include "media/music_player.h"

#include "media/playback_failure.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace lumetta {

namespace {

bool isLoaded(QMediaPlayer::MediaStatus status)
{
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia
        || status == QMediaPlayer::BufferedMedia;
}

bool isSettled(QMediaPlayer::MediaStatus status)
{
    return isLoaded(status) || status == QMediaPlayer::InvalidMedia;
}

}  // namespace

MusicPlayer::MusicPlayer(QObject *parent) : QObject(parent)
{
}

MusicPlayer::~MusicPlayer() = default;

void MusicPlayer::setVolume(float volume)
{
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    if (output_)
        output_->setVolume(volume_);
}

bool MusicPlayer::openInBackground(const QString &path)
{
    player_.reset();
    output_.reset();
    fileName_ = path;
    error_.clear();
    if (!QFileInfo(path).isFile()) {
        error_ = QStringLiteral("Cannot open %1: the file does not exist").arg(path);
        return false;
    }

    output_ = std::make_unique<QAudioOutput>();
    output_->setVolume(volume_);
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(output_.get());
    connect(player_.get(), &QMediaPlayer::errorOccurred, this,
            [this, path](QMediaPlayer::Error, const QString &text) { fail(path, text); });
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this, [this, path](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia)
            fail(path, QString());
    });
    player_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return true;
}

void MusicPlayer::fail(const QString &path, const QString &text)
{
    // The back end's own text names neither the file nor, in words a user knows, what is missing.
    if (error_.isEmpty())
        error_ = describePlaybackFailure(path, text);
}

bool MusicPlayer::loading() const
{
    return player_ && error_.isEmpty() && !isSettled(player_->mediaStatus());
}

bool MusicPlayer::open(const QString &path)
{
    if (!openInBackground(path))
        return false;
    if (loading()) {
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(player_.get(), &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
        connect(player_.get(), &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus status) {
            if (isSettled(status))
                loop.quit();
        });
        timeout.start(kOpenTimeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (error_.isEmpty() && !isLoaded(player_->mediaStatus()))
        error_ = QStringLiteral("Cannot open %1: it did not load within %2 seconds").arg(path).arg(kOpenTimeoutMs / 1000);
    if (error_.isEmpty())
        return true;
    player_.reset();
    output_.reset();
    return false;
}

void MusicPlayer::play()
{
    if (player_)
        player_->play();
}

void MusicPlayer::stop()
{
    if (player_)
        player_->stop();
}

void MusicPlayer::close()
{
    player_.reset();
    output_.reset();
}

qint64 MusicPlayer::length() const
{
    return player_ ? player_->duration() : 0;
}

qint64 MusicPlayer::position() const
{
    return player_ ? player_->position() : 0;
}

bool MusicPlayer::isPlaying(qint64 marginMs) const
{
    if (!player_)
        return false;
    const QMediaPlayer::MediaStatus status = player_->mediaStatus();
    if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia || status == QMediaPlayer::NoMedia)
        return false;
    const qint64 length = player_->duration();
    return length == 0 || length >= player_->position() + marginMs;
}

}  // namespace lumetta
