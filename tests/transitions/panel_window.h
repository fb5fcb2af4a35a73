// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QWidget>

namespace lumetta::test {

// A panel that paints one colour, as a picture panel paints its picture.
class ColorPanel : public QWidget
{
public:
    explicit ColorPanel(QWidget *parent) : QWidget(parent) {}
    QColor color = Qt::blue;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), color); }
};

// A shown top-level window with one Panel in it, for effects run through Prepare and Execute.
template <class Panel>
class PanelWindowTest : public ::testing::Test
{
protected:
    PanelWindowTest(QSize size, QRect place) : size_(size), place_(place) {}

    void SetUp() override
    {
        top.resize(size_);
        panel = new Panel(&top);
        panel->setGeometry(place_);
        top.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
        QApplication::processEvents();
    }

    // Colour the window shows at a logical point of the panel, once pending paints are done.
    QRgb Shown(QPoint at)
    {
        QApplication::processEvents();
        const qreal ratio = top.devicePixelRatioF();
        const QImage image = top.grab().toImage();
        return image.pixel(qRound((panel->x() + at.x()) * ratio), qRound((panel->y() + at.y()) * ratio));
    }

    QWidget top;
    Panel *panel = nullptr;

private:
    QSize size_;
    QRect place_;
};

}  // namespace lumetta::test
