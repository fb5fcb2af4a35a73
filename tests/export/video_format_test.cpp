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
        FrameRate fps;
        bool accepted;
    } cases[] = {
        {VideoContainer::Mp4, ExportQuality::Good, {1920, 1080}, 30, true},
        {VideoContainer::Mp4, ExportQuality::Good, {1080, 1920}, 30, true},
        {VideoContainer::Mp4, ExportQuality::Good, {1080, 1080}, 30, true},
        {VideoContainer::Mp4, ExportQuality::Good, {64, 48}, 10, true},
        {VideoContainer::Mp4, ExportQuality::Good, {65, 48}, 10, false},
        {VideoContainer::Mp4, ExportQuality::Good, {64, 47}, 10, false},
        {VideoContainer::Mp4, ExportQuality::Good, {14, 48}, 10, false},
        {VideoContainer::Mp4, ExportQuality::Good, {7680, 4320}, 30, true},
        {VideoContainer::Mp4, ExportQuality::Good, {4320, 7680}, 30, true},
        {VideoContainer::Mp4, ExportQuality::Good, {8192, 4352}, 30, true},
        {VideoContainer::Mp4, ExportQuality::Good, {8192, 4354}, 30, false},
        {VideoContainer::Mp4, ExportQuality::Good, {8194, 16}, 30, false},
        {VideoContainer::Mp4, ExportQuality::Good, {1920, 1080}, {30000, 1001}, true},
        {VideoContainer::Mp4, ExportQuality::Good, {1920, 1080}, {1, 2}, false},
        {VideoContainer::WebM, ExportQuality::Best, {3840, 2160}, 60, true},
        {VideoContainer::WebM, ExportQuality::Best, {3840, 2160}, 0, false},
        {VideoContainer::WebM, ExportQuality::Best, {3840, 2160}, 121, false},
        {VideoContainer::WebM, ExportQuality::Best, {3840, 2160}, {120000, 1001}, true},
        {VideoContainer::Mkv, ExportQuality::Lossless, {64, 48}, 10, true},
        {VideoContainer::Mp4, ExportQuality::Lossless, {64, 48}, 10, false},
        {VideoContainer::WebM, ExportQuality::Lossless, {64, 48}, 10, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(!CheckVideoSettings(c.container, c.quality, c.size, c.fps).has_value(), c.accepted)
            << c.size.width() << "x" << c.size.height() << " at " << c.fps.Text().toStdString();
}

TEST(VideoFormat, OddSidesAreRoundedDownToEvenWithANote)
{
    const struct
    {
        QSize asked;
        QSize made;
    } cases[] = {
        {{1920, 1080}, {1920, 1080}}, {{1081, 1921}, {1080, 1920}}, {{65, 48}, {64, 48}}, {{64, 49}, {64, 48}},
    };
    for (const auto &c : cases) {
        QSize size = c.asked;
        const std::optional<QString> note = RoundToEvenSize(size);
        EXPECT_EQ(size, c.made);
        EXPECT_EQ(note.has_value(), c.asked != c.made);
        if (note)
            EXPECT_TRUE(note->contains(QStringLiteral("%1x%2").arg(c.made.width()).arg(c.made.height())))
                << note->toStdString();
    }
}

TEST(FrameRate, ReadsWholeFractionalAndTelevisionRatesExactly)
{
    const struct
    {
        const char *text;
        std::optional<FrameRate> rate;
    } cases[] = {
        {"30", FrameRate(30)},
        {"30000/1001", FrameRate(30000, 1001)},
        {"60/2", FrameRate(30)},
        {"29.97", FrameRate(30000, 1001)},
        {"23.976", FrameRate(24000, 1001)},
        {"23.98", FrameRate(24000, 1001)},
        {"59.94", FrameRate(60000, 1001)},
        {"25.0", FrameRate(25)},
        {"12.5", FrameRate(25, 2)},
        {"29.9", FrameRate(299, 10)},
        {"0", std::nullopt},
        {"30/0", std::nullopt},
        {"1/1000001", std::nullopt},
        {"-30", std::nullopt},
        {"30fps", std::nullopt},
        {"29,97", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FrameRate::FromText(QString::fromLatin1(c.text)), c.rate) << c.text;
    EXPECT_EQ(FrameRate(30000, 1001).Text(), QStringLiteral("30000/1001"));
    EXPECT_EQ(FrameRate(25).Text(), QStringLiteral("25"));
}
