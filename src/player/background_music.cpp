#include "player/background_music.h"

namespace lumetta {

bool BackgroundMusic::Start(const QStringList &playlist, bool musicOn)
{
    active_ = false;
    failed_.clear();
    nextTrack_ = 1;
    player_.setVolume(1.0f);
    if (!musicOn || playlist.isEmpty())
        return true;
    if (!player_.open(playlist.first()))
        return false;
    player_.play();
    active_ = true;
    return true;
}

std::optional<QString> BackgroundMusic::Poll(const QStringList &playlist, bool repeat)
{
    if (!active_ || player_.isPlaying(kEndMarginMs))
        return std::nullopt;
    std::optional<QString> report;
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
        if (player_.open(path)) {
            player_.play();
            break;
        }
        failed_.insert(path);
        if (!report)
            report = player_.errorString();
    }
    return report;
}

void BackgroundMusic::Stop()
{
    if (active_)
        player_.stop();
    active_ = false;
    player_.setVolume(1.0f);
}

}  // namespace lumetta
