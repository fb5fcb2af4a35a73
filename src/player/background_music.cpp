// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/background_music.h"

namespace lumetta {

bool BackgroundMusic::Start(const QStringList &playlist, bool musicOn)
{
    active_ = false;
    waiting_ = false;
    firstLoading_ = false;
    failed_.clear();
    nextTrack_ = 1;
    player_.SetVolume(1.0f);
    if (!musicOn || playlist.isEmpty())
        return true;
    if (!player_.CheckFile(playlist.first()))
        return false;
    active_ = true;
    waiting_ = true;
    return true;
}

void BackgroundMusic::Begin()
{
    if (!active_ || !waiting_)
        return;
    waiting_ = false;
    firstLoading_ = true;
    startClock_.start();
    const QString first = player_.FileName();
    // A file gone since the start is reported by the poll, like one found unplayable.
    if (player_.OpenInBackground(first))
        // Playback begins by itself once the back end has the medium.
        player_.Play();
}

std::optional<QString> BackgroundMusic::FirstTrackFailure()
{
    if (player_.Loading() && startClock_.elapsed() < MusicPlayer::kOpenTimeoutMs)
        return std::nullopt;
    firstLoading_ = false;
    QString error = player_.ErrorString();
    if (error.isEmpty() && player_.Loading())
        error = QStringLiteral("Cannot open %1: it did not load within %2 seconds")
                    .arg(player_.FileName())
                    .arg(MusicPlayer::kOpenTimeoutMs / 1000);
    if (error.isEmpty())
        return std::nullopt;
    // Like any later track that cannot play: named once, skipped, and the show goes on.
    player_.Close();
    failed_.insert(player_.FileName());
    return error;
}

std::optional<QString> BackgroundMusic::Poll(const QStringList &playlist, bool repeat)
{
    if (!active_ || waiting_)
        return std::nullopt;
    std::optional<QString> report;
    if (firstLoading_) {
        report = FirstTrackFailure();
        if (firstLoading_)
            return std::nullopt;
    }
    if (!report && player_.IsPlaying(kEndMarginMs))
        return std::nullopt;
    // At most one pass over the list, so a list of broken files cannot keep the poll busy.
    for (qsizetype tries = 0; tries < playlist.size(); ++tries) {
        int track = nextTrack_;
        if (track > playlist.size() - 1) {
            if (!repeat)
                break;
            track = 0;
        }
        nextTrack_ = track + 1;
        const QString &path = playlist[track];
        if (failed_.contains(path))
            continue;
        if (player_.Open(path)) {
            player_.Play();
            break;
        }
        failed_.insert(path);
        if (!report)
            report = player_.ErrorString();
    }
    return report;
}

void BackgroundMusic::Stop()
{
    if (active_)
        player_.Stop();
    active_ = false;
    waiting_ = false;
    firstLoading_ = false;
    player_.SetVolume(1.0f);
}

}  // namespace lumetta
