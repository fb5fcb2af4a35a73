// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_format.h"

#include <gtest/gtest.h>

using namespace lumetta;

TEST(VideoFormat, TheExtensionChoosesTheContainerWhateverItsCase)
{
    const struct
    {
        const char *path;
        std::optional<VideoContainer> container;
    } cases[] = {
        {"/v/show.mp4", VideoContainer::Mp4},
        {"/v/show.MP4", VideoContainer::Mp4},
        {"show.webm", VideoContainer::WebM},
        {"/v/a.b.mkv", VideoContainer::Mkv},
        {"/v/show.avi", std::nullopt},
        {"/v/show", std::nullopt},
        {"/v/mp4", std::nullopt},
        {"/v/show.mp4.part", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ContainerForPath(QString::fromLatin1(c.path)), c.container) << c.path;
}

TEST(VideoFormat, ReplacesOrAddsTheContainersSuffix)
{
    EXPECT_EQ(WithContainerSuffix(QStringLiteral("/v/show.mp4"), VideoContainer::WebM), QStringLiteral("/v/show.webm"));
    EXPECT_EQ(WithContainerSuffix(QStringLiteral("/v/show"), VideoContainer::Mkv), QStringLiteral("/v/show.mkv"));
    EXPECT_EQ(WithContainerSuffix(QStringLiteral("/v/my.show.zut"), VideoContainer::Mp4),
              QStringLiteral("/v/my.show.mp4"));
    EXPECT_EQ(WithContainerSuffix(QStringLiteral("/v/.hidden"), VideoContainer::Mp4), QStringLiteral("/v/.hidden.mp4"));
    EXPECT_EQ(WithContainerSuffix(QString(), VideoContainer::Mp4), QString());
}

TEST(VideoFormat, QualityWordsRoundTrip)
{
    for (ExportQuality quality :
         {ExportQuality::Draft, ExportQuality::Good, ExportQuality::Best, ExportQuality::Lossless})
        EXPECT_EQ(QualityFromText(QualityText(quality)), quality);
    EXPECT_EQ(QualityFromText(QStringLiteral("Good")), std::nullopt);
    EXPECT_EQ(QualityFromText(QStringLiteral("ultra")), std::nullopt);
}

TEST(VideoFormat, RefusesSizesRatesAndLosslessItCannotWrite)
{
    const struct
    {
        VideoContainer container;
        ExportQuality quality;
        QSize size;
        int fps;
        bool accepted;
    } cases[] = {
        {VideoContainer::Mp4, ExportQuality::Good, {1920, 1080}, 30, true},
        {VideoContainer::Mp4, ExportQuality::Good, {64, 48}, 10, true},
        {VideoContainer::Mp4, ExportQuality::Good, {65, 48}, 10, false},
        {VideoContainer::Mp4, ExportQuality::Good, {64, 47}, 10, false},
        {VideoContainer::Mp4, ExportQuality::Good, {14, 48}, 10, false},
        {VideoContainer::Mp4, ExportQuality::Good, {7682, 4320}, 10, false},
        {VideoContainer::WebM, ExportQuality::Best, {3840, 2160}, 60, true},
        {VideoContainer::WebM, ExportQuality::Best, {3840, 2160}, 0, false},
        {VideoContainer::WebM, ExportQuality::Best, {3840, 2160}, 121, false},
        {VideoContainer::Mkv, ExportQuality::Lossless, {64, 48}, 10, true},
        {VideoContainer::Mp4, ExportQuality::Lossless, {64, 48}, 10, false},
        {VideoContainer::WebM, ExportQuality::Lossless, {64, 48}, 10, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(!CheckVideoSettings(c.container, c.quality, c.size, c.fps).has_value(), c.accepted)
            << c.size.width() << "x" << c.size.height() << " at " << c.fps;
}
