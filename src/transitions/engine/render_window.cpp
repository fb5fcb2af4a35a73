// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/render_window.h"

#include <QPaintEvent>
#include <QPainter>

namespace lumetta {

RenderWindow::RenderWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("teRenderWindow"));
    setWindowTitle(QStringLiteral("teRenderWindow"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setVisible(false);
}

void RenderWindow::Present(const QRect &deviceRect)
{
    Present(QRegion(deviceRect));
}

void RenderWindow::Present(const QRegion &deviceRegion)
{
    if (!isVisible() || deviceRegion.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1) {
        repaint(deviceRegion);
        return;
    }
    QRegion logical;
    for (const QRect &r : deviceRegion)
        logical += QRectF(r.x() / ratio, r.y() / ratio, r.width() / ratio, r.height() / ratio).toAlignedRect();
    repaint(logical);
}

void RenderWindow::paintEvent(QPaintEvent *event)
{
    // Only the asked-for parts of the canvas are drawn: a frame usually changes a strip or two.
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const bool direct = canvas_.format() == QImage::Format_RGB32 || canvas_.format() == QImage::Format_RGB16;
    for (const QRect &r : event->region()) {
        const QRectF area = r;
        const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
        if (direct) {
            painter.drawImage(area, canvas_, source);
            continue;
        }
        // Other formats are converted for painting: convert the part shown, not the whole canvas.
        const QRect part = source.toAlignedRect();
        painter.drawImage(QRectF(part.x() / ratio, part.y() / ratio, part.width() / ratio, part.height() / ratio),
                          canvas_.copy(part));
    }
}

}  // namespace lumetta
