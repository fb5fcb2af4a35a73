// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace lumetta {

// Where the sections of a project text lie, found in one pass over the text without keeping
// its lines: the same lines ParseProjectText takes from the split text, counted first, so a
// reader can check the counts before it holds any of them.
class ProjectLayout
{
public:
    static ProjectLayout Of(QStringView text);

    qsizetype lineCount = 0;
    // Index of the last "[TRANS]" and "[MUSIC]" lines that count (below the settings, music
    // after the transitions), or -1.
    qsizetype trans = -1;
    qsizetype music = -1;

    qsizetype PictureCount() const;
    qsizetype EffectsStart() const { return trans + 1; }
    qsizetype EffectCount() const;
    qsizetype MusicStart() const { return music + 1; }
    // Lines after "[MUSIC]"; whether they are read depends on the settings.
    qsizetype MusicCount() const;

    // COUNT lines of TEXT from line FIRST on (fewer when the text ends first).
    static QStringList Lines(QStringView text, qsizetype first, qsizetype count);
};

}  // namespace lumetta
