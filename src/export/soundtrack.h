// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lumetta {

// A show's music as one stream of 48 kHz stereo samples: the playlist's tracks decoded and joined
// in order, started again from the first track when the show repeats its music, silence after
// the last one otherwise.
class Soundtrack
{
public:
    static constexpr int kRate = 48000;
    static constexpr int kChannels = 2;

    using Warning = std::function<void(const QString &message)>;

    // `warn` hears about later tracks that cannot be read (each named once); they are skipped.
    Soundtrack(QStringList playlist, bool repeat, Warning warn = {});
    ~Soundtrack();
    Soundtrack(const Soundtrack &) = delete;
    Soundtrack &operator=(const Soundtrack &) = delete;

    // How long the playlist plays once through, from its files' stated lengths; a track that
    // cannot be read counts nothing. Nullopt when no track states a length.
    static std::optional<std::int64_t> PlaylistLengthMs(const QStringList &playlist);

    // Opens the first track; throws ExportError naming it when it cannot be read, as a show
    // whose first track cannot be played does not start.
    void Open();

    // Fills `frames` stereo frames (interleaved floats, -1 to 1).
    void Read(float *samples, int frames);

    // True once the music has ended for good (the list played once without repeating).
    bool Finished() const { return finished_; }

private:
    class Track;

    // Opens track `index`; false (after warning once) when it cannot be read.
    bool OpenTrack(int index);
    // Decodes more samples into buffer_; false when the music has ended.
    bool Refill();

    QStringList playlist_;
    bool repeat_;
    Warning warn_;
    QSet<QString> reported_;
    std::unique_ptr<Track> track_;
    int nextTrack_ = 0;
    bool finished_ = false;
    // Tracks tried since one gave samples: a list that gives none ends the music.
    int failuresInRow_ = 0;
    std::vector<float> buffer_;
    std::size_t position_ = 0;
};

}  // namespace lumetta
