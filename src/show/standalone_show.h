// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/project_file.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QIODevice;

namespace lumetta {

class ShowProject;

// A standalone show read back from its file: the project it holds and where each of its blocks
// lies. Every size and offset is checked against the file's length before it is used, so a
// damaged or hostile file is refused with a message instead of being read out of bounds.
class StandaloneShow
{
public:
    struct Block
    {
        qint64 offset = 0;
        qint64 size = 0;
        bool operator==(const Block &) const = default;
    };

    // Longest size list and project text, and most effect selection lines accepted; real shows
    // stay far below. The size list bounds the pictures and music files a text may name.
    static constexpr qint64 kMaxSizeListBytes = qint64(1) << 20;
    static constexpr qint64 kMaxProjectTextBytes = qint64(64) << 20;
    static constexpr qsizetype kMaxEffectLines = 4096;

    // Reads the layout of FILE, open for reading with random access; NAME stands for it in
    // messages. Throws ProjectError "NAME holds no valid slide show: REASON" when it holds none.
    // Memory stays within a few times the size of the project text.
    static StandaloneShow Read(QIODevice &file, const QString &name);

    const ProjectContent &Content() const { return content_; }
    const Block &ProjectBlock() const { return project_; }
    const std::optional<Block> &Background() const { return background_; }
    const QList<Block> &Music() const { return music_; }
    const QList<Block> &Pictures() const { return pictures_; }
    // The story file's bytes after the pictures, when the show was built with slide details.
    const std::optional<Block> &Story() const { return story_; }
    // Where the show's data starts: the length of the stub before it.
    qint64 DataStart() const { return project_.offset; }

    // Copies BLOCK of FILE to a new file PATH, a chunk at a time. Throws ProjectError.
    static void ExtractBlock(QIODevice &file, const Block &block, const QString &path);

    // Writes the background, music and pictures into FOLDER (which must exist) and fills
    // PROJECT with the show's settings, effects and lists pointing at those files. A picture
    // keeps its own file name, so the player's caption reads as in the editor. An empty
    // background block (a picture the builder could not name a kind for) becomes a black
    // background. The slide details, when the show carries them, go into PROJECT's story.
    // STOPPED, asked between files, ends the unpacking early (returning false), so
    // a player told to end does not first unpack thousands of pictures. Throws ProjectError.
    bool ExtractTo(QIODevice &file, const QString &folder, ShowProject &project,
                   const std::function<bool()> &stopped = {}) const;

private:
    ProjectContent content_;
    Block project_;
    std::optional<Block> background_;
    QList<Block> music_;
    QList<Block> pictures_;
    std::optional<Block> story_;
};

}  // namespace lumetta
