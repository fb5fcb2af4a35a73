#include "browse/preview_pane.h"

#include "media/picture_error.h"

#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(FitPreview, Rules)
{
    struct Case {
        QSize picture;
        QSize panel;
        QRect expected;
    };
    const Case cases[] = {
        {{800, 600}, {479, 282}, {58, 5, 363, 272}},
        {{600, 800}, {479, 282}, {138, 5, 204, 272}},   // left 137.5 -> 138
        {{1600, 400}, {479, 282}, {5, 82, 469, 117}},   // height 117.25, top 82.5 -> 82
        {{4, 1}, {20, 20}, {5, 9, 10, 2}},              // height 2.5 -> 2
        {{4, 1}, {24, 20}, {5, 8, 14, 4}},              // height 3.5 -> 4
        {{300, 300}, {300, 300}, {5, 5, 290, 290}},     // equal ratios: the height decides
        {{800, 600}, {479, 0}, {}},
        {{800, 600}, {479, 10}, {}},
        {{800, 600}, {0, 0}, {}},
        {{0, 600}, {479, 282}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FitPreview(c.picture, c.panel), c.expected)
            << c.picture.width() << "x" << c.picture.height() << " in " << c.panel.width() << "x" << c.panel.height();
}

class PreviewTest : public ::testing::Test {
protected:
    QString Write(const QString &name, const QSize &size, const char *format)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(10, 120, 200));
        const QString path = dir_.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(image.save(path, format));
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(PreviewTest, FitsAndRefitsOnResize)
{
    PreviewPane pane;
    pane.resize(479, 282);
    pane.show();
    pane.ShowFile(Write(QStringLiteral("p.bmp"), {800, 600}, "BMP"));
    EXPECT_EQ(pane.ImageGeometry(), QRect(58, 5, 363, 272));
    const QLabel *image = pane.findChild<QLabel *>();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().deviceIndependentSize().toSize(), QSize(363, 272));

    pane.resize(479, 0);
    EXPECT_TRUE(pane.ImageGeometry().isEmpty());
    pane.resize(210, 160);
    EXPECT_EQ(pane.ImageGeometry(), QRect(5, 5, 200, 150));
}

TEST_F(PreviewTest, LargeJpegsAreDecodedAtAQuarter)
{
    PreviewPane pane;
    pane.resize(479, 282);
    pane.ShowFile(Write(QStringLiteral("big.jpg"), {4000, 3000}, "JPEG"));
    EXPECT_EQ(pane.CurrentPicture().size(), QSize(1000, 750));
    EXPECT_TRUE(pane.CurrentPicture().isDecoded());
    pane.ShowFile(Write(QStringLiteral("small.jpg"), {1000, 640}, "JPEG"));
    EXPECT_EQ(pane.CurrentPicture().size(), QSize(1000, 640));
    pane.ShowFile(Write(QStringLiteral("big.bmp"), {1200, 10}, "BMP"));
    EXPECT_EQ(pane.CurrentPicture().size(), QSize(1200, 10));
}

TEST_F(PreviewTest, FailureKeepsThePictureAndClearEmpties)
{
    PreviewPane pane;
    pane.resize(479, 282);
    pane.ShowFile(Write(QStringLiteral("p.bmp"), {80, 60}, "BMP"));
    EXPECT_THROW(pane.ShowFile(dir_.path() + QStringLiteral("/missing.jpg")), PictureError);
    EXPECT_TRUE(pane.HasPicture());
    EXPECT_EQ(pane.CurrentPicture().size(), QSize(80, 60));
    pane.Clear();
    EXPECT_FALSE(pane.HasPicture());
    EXPECT_TRUE(pane.ImageGeometry().isEmpty());
}

}  // namespace
}  // namespace lumetta
