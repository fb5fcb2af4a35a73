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
        top_.resize(size_);
        panel_ = new Panel(&top_);
        panel_->setGeometry(place_);
        top_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&top_));
        QApplication::processEvents();
    }

    // Colour the window shows at a logical point of the panel, once pending paints are done.
    QRgb Shown(QPoint at)
    {
        QApplication::processEvents();
        const qreal ratio = top_.devicePixelRatioF();
        const QImage image = top_.grab().toImage();
        return image.pixel(qRound((panel_->x() + at.x()) * ratio), qRound((panel_->y() + at.y()) * ratio));
    }

    QWidget top_;
    Panel *panel_ = nullptr;

private:
    QSize size_;
    QRect place_;
};

}  // namespace lumetta::test
