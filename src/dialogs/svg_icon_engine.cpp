// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/svg_icon_engine.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace lumetta {

namespace {

// Disabled icons fade into the background, as the desktop's own icons do.
constexpr qreal kDisabledOpacity = 0.4;

}  // namespace

SvgIconEngine::SvgIconEngine(const QString &fileName)
{
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        svg_ = file.readAll();
}

QPixmap SvgIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    if (svg_.isEmpty() || size.isEmpty())
        return QPixmap();
    const QColor text = QGuiApplication::palette().color(QPalette::WindowText);
    const QString cacheKey = QStringLiteral("lumetta-svg-%1-%2x%3-%4-%5")
                                 .arg(qHash(svg_))
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(int(mode))
                                 .arg(text.rgba());
    QPixmap pixmap;
    if (QPixmapCache::find(cacheKey, &pixmap))
        return pixmap;
    QByteArray svg = svg_;
    svg.replace(kOutline, text.name(QColor::HexRgb).toLatin1());
    QSvgRenderer renderer(svg);
    QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    // Square pictures keep their proportions in a rectangle.
    const int side = qMin(size.width(), size.height());
    renderer.render(&painter, QRectF((size.width() - side) / 2.0, (size.height() - side) / 2.0, side, side));
    painter.end();
    if (mode == QIcon::Disabled) {
        // The whole picture fades at once, so overlapping shapes do not show through each other.
        QImage faded(size, QImage::Format_ARGB32_Premultiplied);
        faded.fill(Qt::transparent);
        QPainter fader(&faded);
        fader.setOpacity(kDisabledOpacity);
        fader.drawImage(0, 0, drawn);
        fader.end();
        drawn = faded;
    }
    pixmap = QPixmap::fromImage(drawn);
    QPixmapCache::insert(cacheKey, pixmap);
    return pixmap;
}

void SvgIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal scale = painter->device()->devicePixelRatio();
    QPixmap drawn = pixmap((QSizeF(rect.size()) * scale).toSize(), mode, state);
    drawn.setDevicePixelRatio(scale);
    painter->drawPixmap(rect, drawn);
}

QIconEngine *SvgIconEngine::clone() const
{
    return new SvgIconEngine(*this);
}

QString SvgIconEngine::key() const
{
    return QStringLiteral("lumetta-svg");
}

bool SvgIconEngine::isNull()
{
    return svg_.isEmpty();
}

}  // namespace lumetta
