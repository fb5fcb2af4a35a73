#include "media/music_player.h"
#include "support/picture_files.h"
#include "support/wav_files.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

constexpr int kWaitMs = 10000;

}  // namespace

TEST(MusicPlayer, OpenKnowsTheLengthAndPlaysToTheEnd)
{
    const QString wav = testsounds::writeWav("tone.wav", 600);
    MusicPlayer player;
    ASSERT_TRUE(player.open(wav)) << player.errorString().toStdString();
    EXPECT_EQ(player.fileName(), wav);
    EXPECT_TRUE(player.errorString().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.length() > 0; }, kWaitMs));
    EXPECT_NEAR(double(player.length()), 600.0, 30.0);
    EXPECT_TRUE(player.isPlaying());

    player.play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() > 0; }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.isPlaying(); }, kWaitMs));
}

TEST(MusicPlayer, StopHaltsPlaybackAndReopeningStartsAgain)
{
    const QString wav = testsounds::writeWav("long.wav", 4000);
    MusicPlayer player;
    ASSERT_TRUE(player.open(wav));
    player.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.position() > 100; }, kWaitMs));
    player.stop();
    QTest::qWait(200);
    const qint64 stoppedAt = player.position();
    QTest::qWait(300);
    EXPECT_EQ(player.position(), stoppedAt);

    ASSERT_TRUE(player.open(wav));
    EXPECT_EQ(player.position(), 0);
    EXPECT_TRUE(player.isPlaying());
}

TEST(MusicPlayer, FailuresAreKnownWhenOpenReturns)
{
    const QString missing = testpictures::writeTemp("missing.wav", "x");
    QFile::remove(missing);
    const QString garbage = testpictures::writeTemp("garbage.wav", QByteArray(4096, '\x5A'));
    const QString good = testsounds::writeWav("good.wav", 300);
    for (const QString &path : {missing, garbage}) {
        MusicPlayer player;
        EXPECT_FALSE(player.open(path)) << path.toStdString();
        EXPECT_TRUE(player.errorString().contains(path)) << player.errorString().toStdString();
        EXPECT_FALSE(player.isPlaying());
        // A failure does not stick to the next medium.
        EXPECT_TRUE(player.open(good)) << player.errorString().toStdString();
        EXPECT_TRUE(player.errorString().isEmpty());
    }
}
