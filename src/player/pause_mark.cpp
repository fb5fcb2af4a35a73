// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/pause_mark.h"

#include <QPainter>

namespace lumetta {

namespace {

constexpr int kSide = 40;
constexpr int kMargin = 24;

}  // namespace

PauseMark::PauseMark(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PauseMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setToolTip(QStringLiteral("Paused: press Ctrl to resume"));
    setFixedSize(kSide, kSide);
    hide();
}

void PauseMark::PlaceInCorner()
{
    if (const QWidget *area = parentWidget())
        move(area->width() - kSide - kMargin, area->height() - kSide - kMargin);
}

void PauseMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawRoundedRect(rect(), 8, 8);
    painter.setBrush(QColor(255, 255, 255, 220));
    const int barWidth = kSide / 6;
    const int barHeight = kSide / 2;
    const int top = (kSide - barHeight) / 2;
    painter.drawRect(kSide / 2 - barWidth - barWidth / 2, top, barWidth, barHeight);
    painter.drawRect(kSide / 2 + barWidth / 2, top, barWidth, barHeight);
}

}  // namespace lumetta
