// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QJsonObject>
#include <QString>

namespace lumetta {

// A caption drawn on a slide: lines of text in a font, size and colour, at the top, in the middle
// or at the bottom of the slide area, edged so that it reads on any photo.
struct StoryCaption
{
    enum class Position { Top, Middle, Bottom };
    enum class Edge { Outline, Shadow };

    // Text height in pixels on a screen whose shorter side is this many pixels; other screens
    // scale it, so a caption takes the same share of every screen and video.
    static constexpr int kReferenceSide = 1080;
    static constexpr int kDefaultSize = 54;
    static constexpr int kMinimumSize = 8;
    static constexpr int kMaximumSize = 540;

    QString text;  // empty: no caption
    QString font;  // family; empty: the desktop's sans-serif
    int size = kDefaultSize;
    QColor colour = Qt::white;
    Position position = Position::Bottom;
    Edge edge = Edge::Outline;
    // Keys of the story file this program does not know, written back unchanged.
    QJsonObject unknown;

    // Nothing but the defaults: a style chosen before any text is typed is kept too.
    bool IsEmpty() const { return *this == StoryCaption(); }
    bool operator==(const StoryCaption &other) const = default;
};

}  // namespace lumetta
