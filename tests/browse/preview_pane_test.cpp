#include "browse/preview_pane.h"

#include "media/picture_error.h"
#include "support/photo_files.h"
#include "support/picture_files.h"

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

TEST_F(PreviewTest, PhotosOfTodaysCamerasShowUpright)
{
    // A portrait photo whose camera stored it on its side with an orientation tag, and portrait
    // PNG, WebP, TIFF, HEIC and AVIF files: each fits the panel as a portrait, 204 x 272.
    const QImage upright = testpictures::quadrantPicture(48, 64);
    const QByteArray sideways = testpictures::makeJpeg(testpictures::storedForOrientation(upright, 6));
    const std::pair<const char *, QByteArray> files[] = {
        {"portrait.jpg", testpictures::withJpegApp1(sideways, testpictures::makeExifBlock(6))},
        {"portrait.PNG", testpictures::makeQtPicture(upright, "png")},
        {"portrait.webp", testpictures::makeQtPicture(upright, "webp")},
        {"portrait.tif", testpictures::makeQtPicture(upright, "tiff")},
        {"portrait.HEIC", testpictures::makeHeif(upright, false)},
        {"portrait.avif", testpictures::makeHeif(upright, true)},
    };
    PreviewPane pane;
    pane.resize(479, 282);
    pane.show();
    for (const auto &[name, data] : files) {
        pane.ShowFile(testpictures::writeTemp(QString::fromLatin1(name), data));
        EXPECT_EQ(pane.ImageGeometry(), QRect(138, 5, 204, 272)) << name;
        const QImage shown = pane.findChild<QLabel *>()->pixmap().toImage();
        EXPECT_GT(qRed(shown.pixel(shown.width() / 4, shown.height() / 4)), 200) << name << ": red at the top left";
        EXPECT_GT(qBlue(shown.pixel(shown.width() / 4, shown.height() * 3 / 4)), 200) << name << ": blue at the bottom left";
    }
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
