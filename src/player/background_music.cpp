#include "player/background_music.h"

namespace lumetta {

bool BackgroundMusic::Start(const QStringList &playlist, bool musicOn)
{
    m_active = false;
    m_failed.clear();
    m_nextTrack = 1;
    if (!musicOn || playlist.isEmpty())
        return true;
    if (!m_player.open(playlist.first()))
        return false;
    m_player.play();
    m_active = true;
    return true;
}

std::optional<QString> BackgroundMusic::Poll(const QStringList &playlist, bool repeat)
{
    if (!m_active || m_player.isPlaying(kEndMarginMs))
        return std::nullopt;
    std::optional<QString> report;
    // At most one pass over the list, so a list of broken files cannot keep the poll busy.
    for (qsizetype tries = 0; tries < playlist.size(); ++tries) {
        int track = m_nextTrack;
        if (track > playlist.size() - 1) {
            if (!repeat)
                break;
            track = 0;
        }
        m_nextTrack = track + 1;
        const QString &path = playlist[track];
        if (m_failed.contains(path))
            continue;
        if (m_player.open(path)) {
            m_player.play();
            break;
        }
        m_failed.insert(path);
        if (!report)
            report = m_player.errorString();
    }
    return report;
}

void BackgroundMusic::Stop()
{
    if (m_active)
        m_player.stop();
    m_active = false;
}

}  // namespace lumetta
