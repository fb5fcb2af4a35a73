// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/caption_layer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace lumetta {

namespace {

const QColor kEdgeColour(0, 0, 0, 200);

QFont CaptionFont(const StoryCaption &caption, QSize area)
{
    QFont font;
    if (caption.font.isEmpty()) {
        font.setFamily(QStringLiteral("Sans Serif"));
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamily(caption.font);
    }
    const int shorter = std::min(area.width(), area.height());
    font.setPixelSize(std::max(1, int(std::lround(double(caption.size) * shorter / StoryCaption::kReferenceSide))));
    return font;
}

// The caption's letters as one path, each line centred in WIDTH, the first line's top at 0.
struct CaptionLines
{
    QPainterPath path;
    double width = 0;
    double height = 0;
};

CaptionLines LayOutLines(const QString &text, const QFont &font, int width)
{
    const QFontMetricsF metrics(font);
    CaptionLines lines;
    lines.width = std::max(1, width);
    double y = 0;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        // A word wider than the screen breaks too rather than leave it.
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(lines.width);
            const QString shown = paragraph.mid(line.textStart(), line.textLength()).trimmed();
            const double x = (lines.width - metrics.horizontalAdvance(shown)) / 2;
            lines.path.addText(QPointF(x, y + metrics.ascent()), font, shown);
            y += metrics.lineSpacing();
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            y += metrics.lineSpacing();
    }
    lines.height = y;
    return lines;
}

}  // namespace

int CaptionMargin(QSize area)
{
    return std::max(2, std::min(area.width(), area.height()) / 24);
}

CaptionLayer PaintCaptionLayer(const StoryCaption &caption, QSize area, const QRect &picture)
{
    if (caption.text.trimmed().isEmpty() || area.isEmpty())
        return {};
    const QFont font = CaptionFont(caption, area);
    const int margin = CaptionMargin(area);
    const QRect whole(QPoint(), area);
    QRect frame = picture.intersected(whole);
    if (frame.width() < area.width() / 3 || frame.width() <= 2 * margin)
        frame = whole;
    CaptionLines lines = LayOutLines(caption.text, font, frame.width() - 2 * margin);
    if (frame != whole && lines.height + 2 * margin > frame.height()) {
        frame = whole;
        lines = LayOutLines(caption.text, font, frame.width() - 2 * margin);
    }
    // The edge around the letters: wide enough to read on any photo, inside the layer.
    const double edge = std::max(1.0, font.pixelSize() / 14.0);
    const double shadow = caption.edge == StoryCaption::Edge::Shadow ? edge * 1.5 : 0;
    const int pad = int(std::ceil(edge + shadow)) + 1;
    QImage image(QSize(int(std::ceil(lines.width)) + 2 * pad, int(std::ceil(lines.height)) + 2 * pad),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(pad, pad);
        if (caption.edge == StoryCaption::Edge::Outline) {
            painter.strokePath(lines.path, QPen(kEdgeColour, edge * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        } else {
            painter.fillPath(lines.path.translated(shadow, shadow), kEdgeColour);
        }
        painter.fillPath(lines.path, caption.colour);
    }
    int top = frame.top() + margin - pad;
    if (caption.position == StoryCaption::Position::Middle)
        top = frame.top() + (frame.height() - image.height()) / 2;
    else if (caption.position == StoryCaption::Position::Bottom)
        top = frame.top() + frame.height() - margin + pad - image.height();
    return {image, QPoint(frame.left() + margin - pad, top)};
}

void DrawCaptionLayer(QImage &area, const CaptionLayer &layer)
{
    if (layer.IsNull())
        return;
    QPainter painter(&area);
    painter.drawImage(layer.at, layer.image);
}

}  // namespace lumetta
