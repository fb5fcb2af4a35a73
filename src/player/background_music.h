// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/music_player.h"

#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumetta {

// The show's background music: starts the playlist's first track, follows one track with the
// next from a 100 ms poll, repeats the list when asked, and stops with the show. The playlist
// and the repeat choice are passed in afresh at every call, as the lists are read in place.
class BackgroundMusic
{
public:
    // Less than this many milliseconds left counts as the end of a track.
    static constexpr qint64 kEndMarginMs = 10;

    // Music start: with music on and a non-empty playlist, checks that entry 0 is there and
    // returns false when it is not; ErrorString() then says so and the show must not start.
    // The track itself opens and plays from Begin. Every show starts its music with the first track.
    bool Start(const QStringList &playlist, bool musicOn);
    // Opens and plays the first track of a started show without waiting for the back end, which
    // so works beside the show's first slide rather than before it. A track that turns out
    // unplayable is found by the poll and reported like a later one. Only the first call after a
    // Start does anything.
    void Begin();
    // True while a show's music is under way and the poll timer should run.
    bool Active() const { return active_; }
    // The poll (every 100 ms): when the track has ended, the next one starts, or with
    // `repeat` the first again. A track that cannot be opened is skipped for the rest of the
    // show; its error text is returned the first time only.
    std::optional<QString> Poll(const QStringList &playlist, bool repeat);
    // Music stop at the end of a show.
    void Stop();
    // The music's loudness from 0 to 1; every show starts at full loudness.
    void SetVolume(float volume) { player_.SetVolume(volume); }

    int NextTrack() const { return nextTrack_; }
    QString ErrorString() const { return player_.ErrorString(); }
    const MusicPlayer &Player() const { return player_; }

private:
    // The first track's failure once the back end has settled it (or given up waiting).
    std::optional<QString> FirstTrackFailure();

    MusicPlayer player_;
    int nextTrack_ = 1;
    bool active_ = false;
    // Started, and the first track not opened yet.
    bool waiting_ = false;
    // The first track is still being opened since startClock_ began.
    bool firstLoading_ = false;
    QElapsedTimer startClock_;
    QSet<QString> failed_;
};

}  // namespace lumetta
