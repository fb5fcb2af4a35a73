// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIconEngine>

namespace lumetta {

// Draws an SVG picture at exactly the device pixels asked for, so icons stay sharp at any
// scale. The picture's outline colour (kOutline) is replaced by the palette's text colour
// when drawn, so outlines stay visible on dark themes.
class SvgIconEngine : public QIconEngine
{
public:
    static constexpr const char *kOutline = "#1f2a38";

    explicit SvgIconEngine(const QString &fileName);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
    bool isNull() override;

private:
    QByteArray svg_;
};

}  // namespace lumetta
