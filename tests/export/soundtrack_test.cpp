// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/soundtrack.h"

#include "export/export_error.h"
#include "export/show_files.h"
#include "support/picture_files.h"
#include "support/wav_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>

using namespace lumetta;

namespace {

// `frames` stereo frames: left counts up from `start`, right is its negative.
std::vector<std::int16_t> Ramp(int frames, int start)
{
    std::vector<std::int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        samples.push_back(std::int16_t(start + i));
        samples.push_back(std::int16_t(-(start + i)));
    }
    return samples;
}

std::vector<float> Read(Soundtrack &track, int frames)
{
    std::vector<float> samples(std::size_t(frames) * 2);
    track.Read(samples.data(), frames);
    return samples;
}

int AsInt(float sample)
{
    return int(std::lrint(sample * 32768.0f));
}

}  // namespace

TEST(Soundtrack, JoinsTheTracksInOrderSampleForSample)
{
    const QString a = testshows::WriteStereoWav(QStringLiteral("a.wav"), Ramp(1000, 0));
    const QString b = testshows::WriteStereoWav(QStringLiteral("b.wav"), Ramp(500, 5000));
    Soundtrack track({a, b}, false);
    track.Open();
    const std::vector<float> samples = Read(track, 1600);
    EXPECT_EQ(AsInt(samples[0]), 0);
    EXPECT_EQ(AsInt(samples[2 * 999]), 999);
    EXPECT_EQ(AsInt(samples[2 * 999 + 1]), -999);
    EXPECT_EQ(AsInt(samples[2 * 1000]), 5000);
    EXPECT_EQ(AsInt(samples[2 * 1499]), 5499);
    // After the list: silence, for good.
    EXPECT_EQ(samples[2 * 1500], 0.0f);
    EXPECT_EQ(samples[2 * 1599 + 1], 0.0f);
    EXPECT_TRUE(track.Finished());
}

TEST(Soundtrack, RepeatsTheListWhenTheShowRepeatsItsMusic)
{
    const QString a = testshows::WriteStereoWav(QStringLiteral("a.wav"), Ramp(300, 100));
    Soundtrack track({a}, true);
    track.Open();
    const std::vector<float> samples = Read(track, 900);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(AsInt(samples[std::size_t(2 * (round * 300))]), 100) << round;
        EXPECT_EQ(AsInt(samples[std::size_t(2 * (round * 300 + 299))]), 399) << round;
    }
    EXPECT_FALSE(track.Finished());
}

TEST(Soundtrack, ResamplesToFortyEightKilohertzStereoWithMonoOnBothSides)
{
    // 22050 Hz mono, one second.
    const QString tone = testsounds::WriteWav(QStringLiteral("tone.wav"), 1000, 441);
    Soundtrack track({tone}, false);
    track.Open();
    const std::vector<float> samples = Read(track, 48000 + 2400);
    float loudest = 0;
    for (int i = 0; i < 48000; ++i) {
        EXPECT_EQ(samples[std::size_t(2 * i)], samples[std::size_t(2 * i + 1)]);
        loudest = std::max(loudest, std::abs(samples[std::size_t(2 * i)]));
    }
    // The helper's amplitude is 8000: full level, not lowered by the mix to stereo.
    EXPECT_NEAR(loudest * 32768, 8000, 300);
    // One second of sound, then silence.
    for (int i = 48000 + 200; i < 48000 + 2400; ++i)
        EXPECT_EQ(samples[std::size_t(2 * i)], 0.0f);
}

TEST(Soundtrack, AFirstTrackThatCannotBeReadStopsTheExport)
{
    Soundtrack track({QStringLiteral("/no/such/track.wav")}, false);
    try {
        track.Open();
        FAIL() << "no error";
    } catch (const ExportError &error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("/no/such/track.wav")));
    }
}

TEST(Soundtrack, ALaterTrackThatCannotBeReadIsNamedOnceAndSkipped)
{
    const QString a = testshows::WriteStereoWav(QStringLiteral("a.wav"), Ramp(200, 1));
    const QString broken = testpictures::WriteTemp(QStringLiteral("broken.wav"), "RIFF....WAVEnothing");
    QStringList warnings;
    Soundtrack track({a, broken}, true, [&](const QString &message) { warnings << message; });
    track.Open();
    const std::vector<float> samples = Read(track, 1000);
    EXPECT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.value(0).contains(QStringLiteral("broken.wav")));
    EXPECT_EQ(AsInt(samples[2 * 200]), 1);  // straight back to the first track
    EXPECT_EQ(AsInt(samples[2 * 999]), 200);
}

TEST(Soundtrack, AListOfUnreadableTracksEndsInSilence)
{
    const QString broken = testpictures::WriteTemp(QStringLiteral("broken2.wav"), "RIFF....WAVEnothing");
    const QString a = testshows::WriteStereoWav(QStringLiteral("a.wav"), Ramp(10, 1));
    Soundtrack track({a, broken}, true);
    track.Open();
    Read(track, 20);
    // The good track repeats; a list of only broken ones after it would not hang.
    Soundtrack silent({a}, false);
    silent.Open();
    const std::vector<float> samples = Read(silent, 100);
    EXPECT_EQ(samples[199], 0.0f);
}

// A track may name further files (a playlist names its segments): those too are opened only as
// regular files, so a pipe among them cannot stop the export.
TEST(Soundtrack, FilesATrackNamesAreRegularFilesToo)
{
    QTemporaryDir dir;
    const QString segment = dir.filePath(QStringLiteral("segment.ts"));
    ASSERT_EQ(mkfifo(QFile::encodeName(segment).constData(), 0600), 0);
    const QString list = dir.filePath(QStringLiteral("list.m3u8"));
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nsegment.ts\n#EXT-X-ENDLIST\n");
    file.close();
    Soundtrack track({list}, false);
    try {
        track.Open();
        std::vector<float> samples(200);
        track.Read(samples.data(), 100);
    } catch (const ExportError &error) {
        EXPECT_TRUE(error.Message().contains(list)) << error.Message().toStdString();
    }
}
