// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/show_story.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lumetta {

// The story file beside a project: the per-slide details and show-wide options of ours, in JSON,
// so the project file keeps its layout. "holiday.zut" keeps its story in "holiday.zut.story".
class StoryFile
{
public:
    static constexpr int kVersion = 1;
    // Far above the details of the largest project a project file holds.
    static constexpr qint64 kMaximumBytes = qint64(64) << 20;

    // What a read found: the details that could be read, and what was wrong, one line each.
    struct Reading
    {
        ShowStory story;
        QStringList problems;
    };

    static QString PathFor(const QString &projectPath);

    // Reads the story of a project whose picture list is PICTURES. Entries name their slide by
    // position and picture: one whose picture stands elsewhere in the list (the list was edited
    // without its story) moves to the nearest place that picture has; one whose picture is not
    // in the list is left out. Never throws; what is wrong goes into `problems`.
    static Reading Parse(const QByteArray &bytes, const QStringList &pictures);
    // Reads the story file at PATH (a regular file only); no file is no story and no problem.
    static Reading Read(const QString &path, const QStringList &pictures);
    // One notice for the user: the file's name and its problems, the first few named.
    static QString Notice(const QString &path, const QStringList &problems);

    // The file's bytes for STORY of a project whose picture list is PICTURES; empty when the
    // story holds no details, and then no file is kept.
    static QByteArray Bytes(const ShowStory &story, const QStringList &pictures);
};

}  // namespace lumetta
