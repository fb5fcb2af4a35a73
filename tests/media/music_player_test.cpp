// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/music_player.h"
#include "support/music_files.h"
#include "support/picture_files.h"
#include "support/wav_files.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lumetta;

namespace {

constexpr int kWaitMs = 10000;

}  // namespace

TEST(MusicPlayer, OpenKnowsTheLengthAndPlaysToTheEnd)
{
    const QString wav = testsounds::WriteWav("tone.wav", 600);
    MusicPlayer player;
    ASSERT_TRUE(player.Open(wav)) << player.ErrorString().toStdString();
    EXPECT_EQ(player.FileName(), wav);
    EXPECT_TRUE(player.ErrorString().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.Length() > 0; }, kWaitMs));
    EXPECT_NEAR(double(player.Length()), 600.0, 30.0);
    EXPECT_TRUE(player.IsPlaying());

    player.Play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.Position() > 0; }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.IsPlaying(); }, kWaitMs));
}

TEST(MusicPlayer, StopHaltsPlaybackAndReopeningStartsAgain)
{
    const QString wav = testsounds::WriteWav("long.wav", 4000);
    MusicPlayer player;
    ASSERT_TRUE(player.Open(wav));
    player.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.Position() > 100; }, kWaitMs));
    player.Stop();
    QTest::qWait(200);
    const qint64 stoppedAt = player.Position();
    QTest::qWait(300);
    EXPECT_LE(player.Position(), stoppedAt);  // never forward again

    ASSERT_TRUE(player.Open(wav));
    EXPECT_EQ(player.Position(), 0);
    EXPECT_TRUE(player.IsPlaying());
}

TEST(MusicPlayer, FailuresAreKnownWhenOpenReturns)
{
    const QString missing = testpictures::WriteTemp("missing.wav", "x");
    QFile::remove(missing);
    const QString garbage = testpictures::WriteTemp("garbage.wav", QByteArray(4096, '\x5A'));
    const QString good = testsounds::WriteWav("good.wav", 300);
    for (const QString &path : {missing, garbage}) {
        MusicPlayer player;
        EXPECT_FALSE(player.Open(path)) << path.toStdString();
        EXPECT_TRUE(player.ErrorString().contains(path)) << player.ErrorString().toStdString();
        EXPECT_FALSE(player.IsPlaying());
        // A failure does not stick to the next medium.
        EXPECT_TRUE(player.Open(good)) << player.ErrorString().toStdString();
        EXPECT_TRUE(player.ErrorString().isEmpty());
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
        {testsounds::WriteEncodedTone("tone.ogg", 700), true},  {testsounds::WriteEncodedTone("tone.opus", 700), true},
        {testsounds::WriteEncodedTone("tone.flac", 700), true}, {testsounds::WriteEncodedTone("tone.m4a", 700), true},
        {testsounds::WriteEncodedTone("tone.aac", 700), false}, {testsounds::WriteEncodedTone("tone.mp3", 700), true},
        {testsounds::WriteEncodedTone("tone.wma", 700), true},  {testsounds::WriteEncodedTone("tone.wav", 700), true},
        {testsounds::WriteMidi("tune.mid", 700), true},         {testsounds::WriteMidi("tune.kar", 700), true},
    };
    for (const Case &c : cases) {
        const std::string what = c.path.toStdString();
        MusicPlayer player;
        ASSERT_TRUE(player.Open(c.path)) << player.ErrorString().toStdString();
        if (c.lengthKnownAtOpen)
            EXPECT_NEAR(double(player.Length()), 700.0, 60.0) << what;
        player.Play();
        EXPECT_TRUE(QTest::qWaitFor([&] { return player.Position() > 0; }, kWaitMs)) << what;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !player.IsPlaying(); }, kWaitMs)) << what;
    }
}

// Run by CTest with GStreamer's MIDI synthesizers ranked out of use (media_tests.no_midi).
TEST(MusicPlayer, MidiWithoutASynthesizerSaysWhatIsMissing)
{
    if (qEnvironmentVariableIsEmpty("LUMETTA_TEST_NO_MIDI"))
        GTEST_SKIP() << "needs the synthesizers ranked out of use";
    const QString midi = testsounds::WriteMidi("tune.mid", 700);
    MusicPlayer player;
    EXPECT_FALSE(player.Open(midi));
    EXPECT_EQ(player.ErrorString(), QStringLiteral("Cannot play %1: no MIDI synthesizer is installed").arg(midi));
    EXPECT_TRUE(player.Open(testsounds::WriteWav("after.wav", 200))) << player.ErrorString().toStdString();
}

// Opening in the background returns at once; the medium loads (or fails) on the music thread and
// the caller learns it by asking.
TEST(MusicPlayer, OpeningInTheBackgroundSettlesLater)
{
    const QString wav = testsounds::WriteWav("background.wav", 800);
    const QString garbage = testpictures::WriteTemp("background-garbage.wav", QByteArray(4096, '\x33'));
    MusicPlayer player;
    ASSERT_TRUE(player.OpenInBackground(wav));
    EXPECT_EQ(player.FileName(), wav);
    EXPECT_TRUE(player.IsPlaying());
    player.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.Loading(); }, kWaitMs));
    EXPECT_TRUE(player.ErrorString().isEmpty()) << player.ErrorString().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.Position() > 0; }, kWaitMs));

    ASSERT_TRUE(player.OpenInBackground(garbage));
    EXPECT_EQ(player.Position(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.Loading(); }, kWaitMs));
    EXPECT_TRUE(player.ErrorString().contains(garbage)) << player.ErrorString().toStdString();
    EXPECT_FALSE(player.IsPlaying());

    EXPECT_FALSE(player.OpenInBackground(garbage + QStringLiteral(".gone")));
    EXPECT_FALSE(player.Loading());
    EXPECT_TRUE(player.ErrorString().contains(QStringLiteral("does not exist")));
}

// A playlist line that names no regular file is refused at once with what it really is: a pipe
// would keep the media framework waiting for ever, a device would play for ever.
TEST(MusicPlayer, RefusesWhatIsNoRegularFileAndSaysWhatItIs)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("m.mp3"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.wav"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const struct
    {
        QString path;
        QString error;
    } cases[] = {
        {fifo, "Cannot open " + fifo + ": it is a pipe, not a regular file"},
        {zero, "Cannot open " + zero + ": it is a device, not a regular file"},
        {dir.path(), "Cannot open " + dir.path() + ": it is a folder"},
        {QString(), QStringLiteral("Cannot open \"\": the file name is empty")},
    };
    MusicPlayer player;
    for (const auto &c : cases) {
        EXPECT_FALSE(player.Open(c.path));
        EXPECT_FALSE(player.Loading());
        EXPECT_EQ(player.ErrorString(), c.error);
    }
}

// A player that goes while its medium is still opening or playing stops its music thread first,
// and the framework's objects go with it.
TEST(MusicPlayer, GoesWhileOpeningOrPlaying)
{
    const QString wav = testsounds::WriteWav("going.wav", 2000);
    for (int i = 0; i < 3; ++i) {
        MusicPlayer player;
        ASSERT_TRUE(player.OpenInBackground(wav));
        player.Play();
    }
    MusicPlayer player;
    ASSERT_TRUE(player.Open(wav)) << player.ErrorString().toStdString();
    player.Play();
    player.SetVolume(0.5f);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.Position() > 0; }, kWaitMs));
}
