// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <optional>

class QLabel;

namespace lumetta {

// Height of the caption bar under the slide panel.
inline constexpr int kCaptionBarHeight = 26;

// Gives a label the caption bar's look: fixed height, sunken one-pixel panel, centred text in a
// 16-pixel font, its own background.
void StyleCaptionBar(QLabel &bar);

// Paints the caption bar as the player's label shows it, without a widget, so frames can be
// made on any thread: the empty bar is rendered once (on the GUI thread), the text drawn as the
// label draws it.
class CaptionBarPainter
{
public:
    CaptionBarPainter() = default;
    // A bar of `width` device pixels; `background` replaces the palette's window colour. Needs
    // the GUI thread.
    static CaptionBarPainter ForWidth(int width, std::optional<QColor> background);

    bool IsNull() const { return blank_.isNull(); }
    // The bar showing `text` (Format_RGB32). Safe on any thread.
    QImage Paint(const QString &text) const;

private:
    QImage blank_;
    QFont font_;
    QColor textColour_;
    QRect textRect_;
};

}  // namespace lumetta
