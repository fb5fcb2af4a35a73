// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/caption_bar_painter.h"

#include <QLabel>
#include <QPainter>

namespace lumetta {

namespace {
constexpr int kCaptionFontPixels = 16;
}

void StyleCaptionBar(QLabel &bar)
{
    bar.setFixedHeight(kCaptionBarHeight);
    // A caption wider than the screen is cut off rather than widening the full-screen window.
    bar.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    bar.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar.setLineWidth(1);
    bar.setAlignment(Qt::AlignCenter);
    bar.setAutoFillBackground(true);
    QFont font = bar.font();
    font.setPixelSize(kCaptionFontPixels);
    bar.setFont(font);
}

CaptionBarPainter CaptionBarPainter::ForWidth(int width, std::optional<QColor> background)
{
    QLabel label;
    StyleCaptionBar(label);
    if (background) {
        QPalette palette = label.palette();
        palette.setColor(QPalette::Window, *background);
        label.setPalette(palette);
    }
    label.resize(width, kCaptionBarHeight);
    label.ensurePolished();

    CaptionBarPainter painter;
    painter.blank_ = QImage(width, kCaptionBarHeight, QImage::Format_RGB32);
    painter.blank_.fill(Qt::black);
    label.render(&painter.blank_);
    painter.font_ = label.font();
    painter.textColour_ = label.palette().color(label.foregroundRole());
    painter.textRect_ = label.contentsRect();
    return painter;
}

QImage CaptionBarPainter::Paint(const QString &text) const
{
    QImage bar = blank_.copy();
    if (text.isEmpty() || bar.isNull())
        return bar;
    QPainter painter(&bar);
    painter.setFont(font_);
    painter.setPen(textColour_);
    painter.drawText(textRect_, Qt::AlignCenter, text);
    return bar;
}

}  // namespace lumetta
