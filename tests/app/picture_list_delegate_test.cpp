// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_list_delegate.h"
#include "app/picture_list_model.h"
#include "browse/thumbnail_loader.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

int InkIn(const QImage &image, int left, int right)
{
    int ink = 0;
    for (int x = left; x < right; ++x)
        for (int y = 0; y < image.height(); ++y)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    return ink;
}

// The first column from LEFT on that the thumbnail's empty frame (a tall line) crosses.
int FrameColumn(const QImage &image, int left)
{
    for (int x = left; x < image.width(); ++x) {
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
        if (ink >= 30)
            return x;
    }
    return image.width();
}

QImage White()
{
    QImage image(800, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Numbers of five and six digits are drawn whole, inside their row: none loses its first digits
// to a column made for four.
TEST(PictureListDelegate, NumbersAboveTenThousandAreNotCut)
{
    QStringList pictures;
    for (int i = 0; i < 123456; ++i)
        pictures << QStringLiteral("/p/%1.jpg").arg(i);
    ThumbnailLoader thumbnails(QSize(48, 36));
    PictureListModel model(&thumbnails);
    model.SetPictures(pictures);
    PictureListDelegate delegate(thumbnails);

    const QFont font = QApplication::font();
    for (const int row : {9, 99999, 123455}) {
        QImage image = White();
        QStyleOptionViewItem option;
        option.rect = QRect(100, 0, 600, 60);
        option.state = QStyle::State_Enabled;
        option.palette.setColor(QPalette::Text, Qt::black);
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::Window, Qt::white);
        option.font = font;
        option.fontMetrics = QFontMetrics(font);
        {
            QPainter painter(&image);
            delegate.paint(&painter, option, model.index(row, 0));
        }
        // The same number drawn freely, in the same muted colour.
        QImage whole = White();
        {
            QPainter painter(&whole);
            painter.setFont(font);
            QColor muted(Qt::black);
            muted.setAlphaF(0.6f);
            painter.setPen(muted);
            painter.drawText(QRect(100, 0, 600, 60), Qt::AlignLeft | Qt::AlignVCenter, QString::number(row + 1));
        }
        const int drawn = InkIn(image, 0, FrameColumn(image, option.rect.left()));
        const int expected = InkIn(whole, 0, whole.width());
        EXPECT_GT(expected, 0);
        EXPECT_GE(drawn, expected * 95 / 100) << "number " << row + 1;
        EXPECT_LE(drawn, expected * 105 / 100) << "number " << row + 1;
    }
}

}  // namespace
}  // namespace lumetta
