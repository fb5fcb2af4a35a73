// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/background_music.h"

#include "support/wav_files.h"

#include <QFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

constexpr int kWaitMs = 15000;

// Runs the poll every 20 ms (quicker than the show's 100 ms, to keep the tests short) and
// records every track that starts, and every failure the poll reports.
class PollRecorder
{
public:
    PollRecorder(BackgroundMusic &music, const QStringList &playlist, bool repeat) : music_(music), playlist_(playlist)
    {
        Note();
        QObject::connect(&timer_, &QTimer::timeout, [this, repeat] {
            if (const std::optional<QString> report = music_.Poll(playlist_, repeat))
                reports.append(*report);
            Note();
        });
        timer_.start(20);
    }

    QStringList started;
    QStringList reports;

private:
    void Note()
    {
        const QString now = music_.Player().FileName();
        if (music_.Player().IsPlaying()
            && (started.isEmpty() || started.last() != now || lastNext_ != music_.NextTrack()))
            started.append(now);
        lastNext_ = music_.NextTrack();
    }

    BackgroundMusic &music_;
    QStringList playlist_;
    QTimer timer_;
    int lastNext_ = -1;
};

QStringList Tracks(std::initializer_list<const char *> names)
{
    QStringList paths;
    int frequency = 300;
    for (const char *name : names)
        paths.append(testsounds::WriteWav(name, 300, frequency += 100));
    return paths;
}

}  // namespace

TEST(BackgroundMusic, PlaysTheListOnceThenSilence)
{
    const QStringList list = Tracks({"a1.wav", "b1.wav"});
    BackgroundMusic music;
    ASSERT_TRUE(music.Start(list, true)) << music.ErrorString().toStdString();
    music.Begin();
    EXPECT_TRUE(music.Active());
    PollRecorder recorder(music, list, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.started.size() == 2 && !music.Player().IsPlaying(); }, kWaitMs));
    QTest::qWait(300);
    EXPECT_EQ(recorder.started, list);
    EXPECT_FALSE(music.Player().IsPlaying());
    EXPECT_TRUE(recorder.reports.isEmpty());
}

TEST(BackgroundMusic, RepeatStartsTheListAgain)
{
    const QStringList list = Tracks({"a2.wav", "b2.wav", "c2.wav"});
    BackgroundMusic music;
    ASSERT_TRUE(music.Start(list, true));
    music.Begin();
    PollRecorder recorder(music, list, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.started.size() >= 5; }, kWaitMs));
    EXPECT_EQ(recorder.started.mid(0, 5), (QStringList{list[0], list[1], list[2], list[0], list[1]}));
    music.Stop();
}

TEST(BackgroundMusic, StopEndsTheTrackAndTheNextShowStartsAtTheFirst)
{
    const QStringList list = {testsounds::WriteWav("a3.wav", 200), testsounds::WriteWav("b3.wav", 5000)};
    BackgroundMusic music;
    ASSERT_TRUE(music.Start(list, true));
    music.Begin();
    {
        PollRecorder recorder(music, list, false);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return music.Player().FileName() == list[1] && music.Player().Position() > 50; }, kWaitMs));
    }
    music.Stop();
    EXPECT_FALSE(music.Active());
    QTest::qWait(150);
    const qint64 stoppedAt = music.Player().Position();
    QTest::qWait(300);
    EXPECT_LE(music.Player().Position(), stoppedAt);  // never forward again

    ASSERT_TRUE(music.Start(list, true));
    music.Begin();
    EXPECT_EQ(music.Player().FileName(), list[0]);
    EXPECT_EQ(music.NextTrack(), 1);
    music.Stop();
}

TEST(BackgroundMusic, NoMusicOrAnEmptyListPlaysNothing)
{
    const QStringList list = Tracks({"a4.wav"});
    BackgroundMusic music;
    ASSERT_TRUE(music.Start(list, true));
    music.Begin();
    music.Stop();
    EXPECT_TRUE(music.Start(list, false));
    EXPECT_FALSE(music.Active());
    EXPECT_FALSE(music.Poll(list, true).has_value());
    EXPECT_TRUE(music.Start({}, true));
    EXPECT_FALSE(music.Active());
}

// The start only checks the first track; it opens at Begin, once, and a file gone in between is
// reported by the poll once while the next track plays.
TEST(BackgroundMusic, TheFirstTrackOpensAtBegin)
{
    QStringList list = Tracks({"begin-a.wav", "begin-b.wav"});
    BackgroundMusic music;
    ASSERT_TRUE(music.Start(list, true));
    EXPECT_TRUE(music.Active());
    EXPECT_FALSE(music.Player().IsPlaying());
    EXPECT_FALSE(music.Poll(list, false).has_value());
    EXPECT_EQ(music.NextTrack(), 1);

    QFile::remove(list[0]);
    music.Begin();
    music.Begin();
    PollRecorder recorder(music, list, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.started.contains(list[1]); }, kWaitMs));
    ASSERT_EQ(recorder.reports.size(), 1);
    EXPECT_TRUE(recorder.reports[0].contains(list[0])) << recorder.reports[0].toStdString();
    EXPECT_TRUE(recorder.reports[0].contains(QStringLiteral("does not exist")));
    music.Stop();
    // After a stop, Begin opens nothing.
    music.Begin();
    EXPECT_EQ(music.Player().FileName(), list[1]);
    EXPECT_FALSE(music.Active());
}

TEST(BackgroundMusic, FirstTrackFailureStopsTheStart)
{
    BackgroundMusic music;
    EXPECT_FALSE(music.Start({"/nonexistent/track.wav"}, true));
    EXPECT_FALSE(music.Active());
    EXPECT_TRUE(music.ErrorString().contains("/nonexistent/track.wav"));
}

// The start does not wait for the back end: a first track that is there but cannot be played is
// found by the poll, reported once like a later one, and the next track follows.
TEST(BackgroundMusic, AnUnplayableFirstTrackIsReportedOnceAndSkipped)
{
    QStringList list = Tracks({"unplayable.wav", "after-unplayable-b.wav", "after-unplayable-c.wav"});
    {
        QFile file(list[0]);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2048, 'x'));
    }
    BackgroundMusic music;
    ASSERT_TRUE(music.Start(list, true));
    music.Begin();
    EXPECT_TRUE(music.Active());
    PollRecorder recorder(music, list, true);
    // Only while it was loading did it count as playing; it is not tried again.
    const auto played = [&] {
        QStringList tracks = recorder.started;
        tracks.removeAll(list[0]);
        return tracks;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return played().size() >= 3; }, kWaitMs));
    EXPECT_EQ(played().mid(0, 3), (QStringList{list[1], list[2], list[1]}));
    EXPECT_LE(recorder.started.count(list[0]), 1);
    ASSERT_EQ(recorder.reports.size(), 1);
    EXPECT_TRUE(recorder.reports[0].contains(list[0])) << recorder.reports[0].toStdString();
    EXPECT_TRUE(music.Active());
    music.Stop();
}

// A single unplayable track leaves the show silent, reported once.
TEST(BackgroundMusic, AnUnplayableOnlyTrackIsReportedOnce)
{
    const QString bad = testsounds::WriteWav("only-unplayable.wav", 300);
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2048, 'y'));
    }
    BackgroundMusic music;
    ASSERT_TRUE(music.Start({bad}, true));
    music.Begin();
    PollRecorder recorder(music, {bad}, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.reports.isEmpty(); }, kWaitMs));
    QTest::qWait(300);
    EXPECT_EQ(recorder.reports.size(), 1);
    EXPECT_FALSE(music.Player().IsPlaying());
    // The next show starts afresh with a playable list.
    const QStringList good = Tracks({"after-only-unplayable.wav"});
    ASSERT_TRUE(music.Start(good, true));
    music.Begin();
    EXPECT_TRUE(music.Player().ErrorString().isEmpty());
    music.Stop();
}

TEST(BackgroundMusic, LaterFailureIsReportedOnceAndSkipped)
{
    QStringList list = Tracks({"a5.wav", "gone5.wav", "c5.wav"});
    QFile::remove(list[1]);
    BackgroundMusic music;
    ASSERT_TRUE(music.Start(list, true));
    music.Begin();
    PollRecorder recorder(music, list, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.started.size() >= 4; }, kWaitMs));
    EXPECT_EQ(recorder.started.mid(0, 4), (QStringList{list[0], list[2], list[0], list[2]}));
    ASSERT_EQ(recorder.reports.size(), 1);
    EXPECT_TRUE(recorder.reports[0].contains("gone5.wav"));
    music.Stop();
}
