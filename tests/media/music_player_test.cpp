// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/music_player.h"
#include "support/music_files.h"
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
    EXPECT_LE(player.position(), stoppedAt);  // never forward again

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

TEST(MusicPlayer, PlaysEveryCommonFormat)
{
    // Raw ADTS AAC carries no duration; the back end learns it only while playing.
    struct Case
    {
        QString path;
        bool lengthKnownAtOpen;
    };
    const Case cases[] = {
        {testsounds::writeEncodedTone("tone.ogg", 700), true},  {testsounds::writeEncodedTone("tone.opus", 700), true},
        {testsounds::writeEncodedTone("tone.flac", 700), true}, {testsounds::writeEncodedTone("tone.m4a", 700), true},
        {testsounds::writeEncodedTone("tone.aac", 700), false}, {testsounds::writeEncodedTone("tone.mp3", 700), true},
        {testsounds::writeEncodedTone("tone.wma", 700), true},  {testsounds::writeEncodedTone("tone.wav", 700), true},
        {testsounds::writeMidi("tune.mid", 700), true},         {testsounds::writeMidi("tune.kar", 700), true},
    };
    for (const Case &c : cases) {
        const std::string what = c.path.toStdString();
        MusicPlayer player;
        ASSERT_TRUE(player.open(c.path)) << player.errorString().toStdString();
        if (c.lengthKnownAtOpen)
            EXPECT_NEAR(double(player.length()), 700.0, 60.0) << what;
        player.play();
        EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() > 0; }, kWaitMs)) << what;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !player.isPlaying(); }, kWaitMs)) << what;
    }
}

// Run by CTest with GStreamer's MIDI synthesizers ranked out of use (media_tests.no_midi).
TEST(MusicPlayer, MidiWithoutASynthesizerSaysWhatIsMissing)
{
    if (qEnvironmentVariableIsEmpty("LUMETTA_TEST_NO_MIDI"))
        GTEST_SKIP() << "needs the synthesizers ranked out of use";
    const QString midi = testsounds::writeMidi("tune.mid", 700);
    MusicPlayer player;
    EXPECT_FALSE(player.open(midi));
    EXPECT_EQ(player.errorString(), QStringLiteral("Cannot play %1: no MIDI synthesizer is installed").arg(midi));
    EXPECT_TRUE(player.open(testsounds::writeWav("after.wav", 200))) << player.errorString().toStdString();
}

// Opening in the background returns at once; the medium loads (or fails) on the music thread and
// the caller learns it by asking.
TEST(MusicPlayer, OpeningInTheBackgroundSettlesLater)
{
    const QString wav = testsounds::writeWav("background.wav", 800);
    const QString garbage = testpictures::writeTemp("background-garbage.wav", QByteArray(4096, '\x33'));
    MusicPlayer player;
    ASSERT_TRUE(player.openInBackground(wav));
    EXPECT_EQ(player.fileName(), wav);
    EXPECT_TRUE(player.isPlaying());
    player.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.loading(); }, kWaitMs));
    EXPECT_TRUE(player.errorString().isEmpty()) << player.errorString().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() > 0; }, kWaitMs));

    ASSERT_TRUE(player.openInBackground(garbage));
    EXPECT_EQ(player.position(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.loading(); }, kWaitMs));
    EXPECT_TRUE(player.errorString().contains(garbage)) << player.errorString().toStdString();
    EXPECT_FALSE(player.isPlaying());

    EXPECT_FALSE(player.openInBackground(garbage + QStringLiteral(".gone")));
    EXPECT_FALSE(player.loading());
    EXPECT_TRUE(player.errorString().contains(QStringLiteral("does not exist")));
}

// A player that goes while its medium is still opening or playing stops its music thread first,
// and the framework's objects go with it.
TEST(MusicPlayer, GoesWhileOpeningOrPlaying)
{
    const QString wav = testsounds::writeWav("going.wav", 2000);
    for (int i = 0; i < 3; ++i) {
        MusicPlayer player;
        ASSERT_TRUE(player.openInBackground(wav));
        player.play();
    }
    MusicPlayer player;
    ASSERT_TRUE(player.open(wav)) << player.errorString().toStdString();
    player.play();
    player.setVolume(0.5f);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() > 0; }, kWaitMs));
}
