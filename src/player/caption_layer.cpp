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

}  // namespace

int CaptionMargin(QSize area)
{
    return std::max(2, std::min(area.width(), area.height()) / 24);
}

CaptionLayer PaintCaptionLayer(const StoryCaption &caption, QSize area)
{
    if (caption.text.trimmed().isEmpty() || area.isEmpty())
        return {};
    const QFont font = CaptionFont(caption, area);
    const QFontMetricsF metrics(font);
    const int margin = CaptionMargin(area);
    const double width = std::max(1, area.width() - 2 * margin);
    // The edge around the letters: wide enough to read on any photo, inside the layer.
    const double edge = std::max(1.0, font.pixelSize() / 14.0);

    QPainterPath path;
    double y = 0;
    for (const QString &paragraph : caption.text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        // A word wider than the screen breaks too rather than leave it.
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            const QString text = paragraph.mid(line.textStart(), line.textLength()).trimmed();
            const double x = (width - metrics.horizontalAdvance(text)) / 2;
            path.addText(QPointF(x, y + metrics.ascent()), font, text);
            y += metrics.lineSpacing();
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            y += metrics.lineSpacing();
    }
    const double height = y;
    const double shadow = caption.edge == StoryCaption::Edge::Shadow ? edge * 1.5 : 0;
    const int pad = int(std::ceil(edge + shadow)) + 1;
    QImage image(QSize(int(std::ceil(width)) + 2 * pad, int(std::ceil(height)) + 2 * pad),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(pad, pad);
        if (caption.edge == StoryCaption::Edge::Outline) {
            painter.strokePath(path, QPen(kEdgeColour, edge * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        } else {
            painter.fillPath(path.translated(shadow, shadow), kEdgeColour);
        }
        painter.fillPath(path, caption.colour);
    }
    int top = margin - pad;
    if (caption.position == StoryCaption::Position::Middle)
        top = (area.height() - image.height()) / 2;
    else if (caption.position == StoryCaption::Position::Bottom)
        top = area.height() - margin + pad - image.height();
    return {image, QPoint(margin - pad, top)};
}

void DrawCaptionLayer(QImage &area, const CaptionLayer &layer)
{
    if (layer.IsNull())
        return;
    QPainter painter(&area);
    painter.drawImage(layer.at, layer.image);
}

}  // namespace lumetta
