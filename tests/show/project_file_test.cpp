// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_file.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace lumetta {
namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

TEST(SplitLines, BreaksAtCrLfOrBoth)
{
    const struct
    {
        const char *text;
        QStringList lines;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"", {}},
        {"\r\n", {""}},
        {"x", {"x"}},
        {"a\r\n\n", {"a", ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitLines(QString::fromLatin1(c.text)), c.lines) << c.text;
}

TEST(DecodeText, Utf8WithOrWithoutMarkElseTheOldCodePage)
{
    EXPECT_EQ(DecodeText("caf\xC3\xA9"), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFok"), QLatin1String("ok"));
    EXPECT_EQ(DecodeText("caf\xE9"), QString::fromUtf8("caf\xC3\xA9"));
}

ShowSettings MusicSettings(const char *music)
{
    ShowSettings settings;
    settings.Put(ShowSettings::MusicLine, QLatin1String(music));
    return settings;
}

TEST(ProjectText, ThreePicturesTwoEffectsMusicOffIsSeventeenLines)
{
    const QStringList text =
        BuildProjectText(MusicSettings("No music"), {"/p/a.jpg", "/p/b.gif", "/p/c.bmp"}, {"1", "13"}, {"/m/kept.mp3"});
    QStringList expected = ShowSettings().Lines();
    expected << "/p/a.jpg"
             << "/p/b.gif"
             << "/p/c.bmp"
             << "[TRANS]"
             << "1"
             << "13"
             << "[MUSIC]";
    EXPECT_EQ(text.size(), 17);
    EXPECT_EQ(text, expected);
}

TEST(ProjectText, MusicOnWritesThePlaylistAndEndsWithTheMarkerWhenEmpty)
{
    QStringList text = BuildProjectText(MusicSettings("NoRepeat"), {"/p/a.jpg"}, {}, {});
    EXPECT_EQ(text.last(), QLatin1String("[MUSIC]"));
    EXPECT_EQ(text.size(), 13);
    text = BuildProjectText(MusicSettings("RepeatMusic"), {"/p/a.jpg"}, {"4"}, {"/m/1.mp3", "/m/2.wav"});
    EXPECT_EQ(text.mid(text.size() - 3), QStringList({"[MUSIC]", "/m/1.mp3", "/m/2.wav"}));
}

TEST(ProjectText, ParsesWhatItBuilds)
{
    const ShowSettings settings = MusicSettings("RepeatMusic");
    const QStringList pictures{"/p/a.jpg", "/p/b c.gif"};
    const QStringList effects{"20", "0", "20"};
    const QStringList playlist{"/m/x.mp3"};
    const ProjectContent content = ParseProjectText(BuildProjectText(settings, pictures, effects, playlist));
    EXPECT_EQ(content.settings, settings);
    EXPECT_EQ(content.pictures, pictures);
    EXPECT_EQ(content.effects, effects);
    EXPECT_EQ(content.playlist, playlist);
}

TEST(ProjectText, MusicOffLeavesThePlaylistUnread)
{
    QStringList text = BuildProjectText(MusicSettings("No music"), {"/p/a.jpg"}, {"1"}, {});
    text << "/m/stray.mp3";
    EXPECT_EQ(ParseProjectText(text).playlist, std::nullopt);
}

TEST(ProjectText, FewerThanTenLinesIsAnError)
{
    QStringList text = ShowSettings().Lines().mid(0, 7);
    try {
        ParseProjectText(text);
        FAIL() << "no error";
    } catch (const ProjectError &error) {
        EXPECT_EQ(error.Message(), QLatin1String("List index out of bounds (7)"));
    }
    EXPECT_THROW(ParseProjectText({}), ProjectError);
    text = ShowSettings().Lines();
    const ProjectContent content = ParseProjectText(text);
    EXPECT_TRUE(content.pictures.isEmpty());
    EXPECT_TRUE(content.effects.isEmpty());
}

TEST(ProjectText, MarkersAreTheLastOnesAndMissingOnesReadAsEmpty)
{
    const QStringList settings = MusicSettings("NoRepeat").Lines();
    const struct
    {
        const char *what;
        QStringList tail;
        QStringList pictures;
        QStringList effects;
        QStringList playlist;
    } cases[] = {
        {"last markers",
         {"/a", "[TRANS]", "/b", "[TRANS]", "3", "[MUSIC]", "/x", "[MUSIC]", "/m"},
         {"/a", "[TRANS]", "/b"},
         {"3", "[MUSIC]", "/x"},
         {"/m"}},
        {"no TRANS", {"/a", "3", "[MUSIC]", "/m"}, {}, {}, {"/m"}},
        {"no MUSIC", {"/a", "[TRANS]", "3"}, {"/a"}, {}, {}},
        {"MUSIC before TRANS", {"[MUSIC]", "/a", "[TRANS]", "3"}, {"[MUSIC]", "/a"}, {}, {}},
        {"neither", {"/a", "3"}, {}, {}, {}},
    };
    for (const auto &c : cases) {
        const ProjectContent content = ParseProjectText(settings + c.tail);
        EXPECT_EQ(content.pictures, c.pictures) << c.what;
        EXPECT_EQ(content.effects, c.effects) << c.what;
        EXPECT_EQ(content.playlist, c.playlist) << c.what;
    }
}

TEST(ProjectText, MarkerAmongTheSettingsIsNotASection)
{
    QStringList text = ShowSettings().Lines();
    text[4] = QStringLiteral("[TRANS]");
    text << "/a"
         << "[MUSIC]";
    const ProjectContent content = ParseProjectText(text);
    EXPECT_TRUE(content.pictures.isEmpty());
    EXPECT_TRUE(content.effects.isEmpty());
}

TEST(TextFile, WritesUtf8WithCrLfOnEveryLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8("Sh\xC3\xB6w.zut"));
    WriteTextFile(path, {QString::fromUtf8("/p/\xC3\xA9t\xC3\xA9.jpg"), "", "[TRANS]"});
    EXPECT_EQ(ReadBytes(path), QByteArray("/p/\xC3\xA9t\xC3\xA9.jpg\r\n\r\n[TRANS]\r\n"));
    EXPECT_EQ(ReadTextFile(path), QStringList({QString::fromUtf8("/p/\xC3\xA9t\xC3\xA9.jpg"), "", "[TRANS]"}));
}

TEST(TextFile, ReadsAnyLineEnding)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mixed.zut");
    WriteBytes(path, "one\ntwo\rthree\r\nfour");
    EXPECT_EQ(ReadTextFile(path), QStringList({"one", "two", "three", "four"}));
}

TEST(TextFile, ReplacesAnOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.zut");
    WriteTextFile(path, {"a long first version", "with two lines"});
    WriteTextFile(path, {"b"});
    EXPECT_EQ(ReadBytes(path), QByteArray("b\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"p.zut"}));
}

TEST(TextFile, FailuresNameTheFileAndTheReason)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.zut");
    const QString blocker = dir.filePath("plain-file");
    WriteBytes(blocker, "x");
    const QString underFile = blocker + "/p.zut";
    const struct
    {
        std::function<void()> run;
        QString message;
    } cases[] = {
        {[&] { ReadTextFile(missing); }, "Cannot open file " + missing + ": the file does not exist"},
        {[&] { ReadTextFile(dir.path()); }, "Cannot open file " + dir.path() + ": it is a folder"},
        {[&] { WriteTextFile(underFile, {"a"}); }, "Cannot create file " + underFile + ": Not a directory"},
        {[&] { WriteTextFile(dir.path(), {"a"}); }, "Cannot create file " + dir.path() + ": it is a folder"},
    };
    for (const auto &c : cases) {
        try {
            c.run();
            ADD_FAILURE() << "no error for " << c.message.toStdString();
        } catch (const ProjectError &error) {
            EXPECT_EQ(error.Message(), c.message);
        }
    }
    EXPECT_EQ(ReadBytes(blocker), QByteArray("x"));
}

// The message of the error `read` throws, or "no error".
QString ErrorOf(const std::function<void()> &read)
{
    try {
        read();
    } catch (const ProjectError &error) {
        return error.Message();
    }
    return "no error";
}

TEST(TextFile, LimitsOnSizeLinesAndLineLength)
{
    constexpr TextFileLimits kLimits{32, 4, 8};
    QTemporaryDir dir;
    const QString path = dir.filePath("p.zut");
    const QString prefix = "Cannot open file " + path + ": ";
    const struct
    {
        QByteArray bytes;
        QString error;  // empty: read whole
    } cases[] = {
        {"12345678\r\n12345678\r\n12345678\r\n", ""},
        {"a\r\nb\r\nc\r\nd\r\n", ""},
        {"a\nb\rc\nd", ""},
        {"a\nb\nc\nd\ne", prefix + "the file has more than 4 lines"},
        {"a\r\n\r\n\r\n\r\n\r\n", prefix + "the file has more than 4 lines"},
        {"\n\r\n\r\n\r\r\n", prefix + "the file has more than 4 lines"},
        {"12345678\r\n123456789", prefix + "line 2 is longer than 8 bytes"},
        {"123456789\r\n", prefix + "line 1 is longer than 8 bytes"},
        {QByteArray("1234567\n").repeated(4) + "1", prefix + "the file is larger than 32 bytes"},
    };
    for (const auto &c : cases) {
        WriteBytes(path, c.bytes);
        // From the file and from bytes in memory alike.
        if (c.error.isEmpty()) {
            EXPECT_EQ(ReadTextFile(path, kLimits), SplitLines(QString::fromLatin1(c.bytes))) << c.bytes.data();
            EXPECT_EQ(TextLines(c.bytes, kLimits, path), SplitLines(QString::fromLatin1(c.bytes))) << c.bytes.data();
        } else {
            EXPECT_EQ(ErrorOf([&] { ReadTextFile(path, kLimits); }), c.error) << c.bytes.data();
            EXPECT_EQ(ErrorOf([&] { TextLines(c.bytes, kLimits, path); }), c.error) << c.bytes.data();
        }
    }
}

TEST(TextFile, ProjectsOfMillionsOfLinesOrMegabyteLinesAreRefused)
{
    QTemporaryDir dir;
    const QString lines = dir.filePath("lines.zut");
    const QString longLine = dir.filePath("long.zut");
    const QString huge = dir.filePath("huge.zut");
    WriteBytes(lines, QByteArray(2'000'000, '\n'));
    WriteBytes(longLine, "/p/a.jpg\r\n" + QByteArray(1 << 20, 'x') + "\r\n");
    {
        // Sparse: the size alone refuses it, nothing is read.
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(1) << 30));
    }
    EXPECT_EQ(ErrorOf([&] { ReadTextFile(lines); }),
              "Cannot open file " + lines + ": the file has more than 1000000 lines");
    EXPECT_EQ(ErrorOf([&] { ReadTextFile(longLine); }),
              "Cannot open file " + longLine + ": line 2 is longer than 32768 bytes");
    EXPECT_EQ(ErrorOf([&] { ReadTextFile(huge); }), "Cannot open file " + huge + ": the file is larger than 16 MiB");
}

TEST(TextFile, OnlyRegularFilesAreRead)
{
    // A pipe would block the reader and a device never ends.
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.zut");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { ReadTextFile(fifo); }), "Cannot open file " + fifo + ": it is a pipe, not a regular file");
    EXPECT_EQ(ErrorOf([&] { ReadTextFile("/dev/zero"); }),
              "Cannot open file /dev/zero: it is a device, not a regular file");
}

}  // namespace
}  // namespace lumetta
