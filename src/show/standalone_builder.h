// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/picture.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <optional>

namespace lumetta {

class ShowProject;

// The kind a standalone show stores a picture as, decided by its extension in any letter case
// (AcceptedPictureExtensions); none for any other. BMP and GIF are stored re-encoded, every
// other kind as its file's bytes.
std::optional<PictureKind> StoredPictureKind(const QString &path);

// Writes a standalone show: a copy of the player stub followed by the project text, the
// background picture, the music files, the pictures, the size list and a 4-byte trailer.
// Everything goes to a temporary file in the target's folder that replaces the target only
// when complete, so a failed build leaves no partial file and no existing file is extended.
class StandaloneBuilder
{
public:
    // What to do when the target already exists; the editor asks the user first.
    enum class ExistingTarget { Refuse, Replace };
    // Called after each music file and each picture: items done, items in all (pictures plus
    // playlist entries, counted even when music is off).
    using ProgressFn = std::function<void(int value, int maximum)>;

    // "AEXE.tms" beside the running program or in its installed private folder.
    static QString DefaultStubPath();

    explicit StandaloneBuilder(QString stubPath = DefaultStubPath());

    void SetProgress(ProgressFn progress) { progress_ = std::move(progress); }

    // Why TARGET cannot take the show of PROJECT: it is the project file, the player stub or one
    // of the show's pictures, background or music files (also under another name through a
    // link); the message names the target. nullopt when it can.
    std::optional<QString> TargetConflict(const ShowProject &project, const QString &target) const;

    // Builds the show of PROJECT (its lists as Save would write them) into TARGET and makes it
    // executable. A picture or background whose name has none of the accepted extensions
    // gives an empty block. Every file copied must be a regular file of at most
    // InputFile::kMaxBytes. Throws ProjectError with the file system's or decoder's message, or
    // the TargetConflict; TARGET is then as it was before.
    void MakeExe(const ShowProject &project, const QString &target, ExistingTarget existing = ExistingTarget::Refuse);

    // The block sizes of the last build, in block order, as decimal text.
    const QStringList &Sizes() const { return sizes_; }

private:
    QString stubPath_;
    ProgressFn progress_;
    QStringList sizes_;
};

// `lumetta --build FILE OUTPUT`: reads the project file as Open does and writes its standalone
// show to OUTPUT, replacing a file already there (never extending it). Returns the exit status:
// 0, or 1 with a message on ERRORS.
int BuildShowFile(const QString &projectPath, const QString &output, std::FILE *errors = stderr);

}  // namespace lumetta
