// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/playback_failure.h"
#include "support/music_files.h"
#include "support/picture_files.h"
#include "support/wav_files.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

// The file's bytes under another name, so only the content can tell what it is.
QString Renamed(const QString &path, const QString &name)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return testpictures::WriteTemp(name, file.readAll());
}

}  // namespace

TEST(PlaybackFailure, NamesTheFileAndWhatIsMissing)
{
    struct Case
    {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {testsounds::WriteMidi("song.mid", 500), "no MIDI synthesizer is installed"},
        {Renamed(testsounds::WriteMidi("k.mid", 500), "karaoke.kar"), "no MIDI synthesizer is installed"},
        {Renamed(testsounds::WriteEncodedTone("f.flac", 300), "misnamed.mp3"),
         "no decoder for FLAC audio is installed"},
        {testsounds::WriteEncodedTone("t.ogg", 300), "no decoder for "},
        {testsounds::WriteEncodedTone("t.wma", 300), "no decoder for "},
        {testpictures::WriteTemp("noise.wav", QByteArray(4096, '\x5A')),
         "the file is not a playable medium (Could not determine type of stream.)"},
    };
    for (const Case &c : cases) {
        const QString message = DescribePlaybackFailure(c.path, "Could not determine type of stream.");
        EXPECT_TRUE(message.startsWith("Cannot play " + c.path + ": ")) << message.toStdString();
        EXPECT_TRUE(message.contains(c.reason)) << message.toStdString();
    }
    EXPECT_EQ(DescribePlaybackFailure("/x/none.wav", QString()),
              "Cannot play /x/none.wav: the file is not a playable medium");
}
