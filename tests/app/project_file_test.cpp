#include "app/project_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(SplitLines, BreaksAtCrLfOrBoth)
{
    const struct {
        const char *text;
        QStringList lines;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}},          {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}}, {"a\n\rb", {"a", "", "b"}}, {"", {}},
        {"\r\n", {""}},             {"x", {"x"}},                  {"a\r\n\n", {"a", ""}},
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
    settings.Put(ShowSettings::kMusic, QLatin1String(music));
    return settings;
}

TEST(ProjectText, ThreePicturesTwoEffectsMusicOffIsSeventeenLines)
{
    const QStringList text = BuildProjectText(MusicSettings("No music"), {"/p/a.jpg", "/p/b.gif", "/p/c.bmp"},
                                              {"1", "13"}, {"/m/kept.mp3"});
    QStringList expected = ShowSettings().Lines();
    expected << "/p/a.jpg" << "/p/b.gif" << "/p/c.bmp" << "[TRANS]" << "1" << "13" << "[MUSIC]";
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
    const struct {
        const char *what;
        QStringList tail;
        QStringList pictures;
        QStringList effects;
        QStringList playlist;
    } cases[] = {
        {"last markers", {"/a", "[TRANS]", "/b", "[TRANS]", "3", "[MUSIC]", "/x", "[MUSIC]", "/m"},
         {"/a", "[TRANS]", "/b"}, {"3", "[MUSIC]", "/x"}, {"/m"}},
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
    text << "/a" << "[MUSIC]";
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

TEST(TextFile, FailuresNameTheFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.zut");
    const QString blocker = dir.filePath("plain-file");
    WriteBytes(blocker, "x");
    const QString underFile = blocker + "/p.zut";
    const struct {
        std::function<void()> run;
        QString message;
    } cases[] = {
        {[&] { ReadTextFile(missing); }, "Cannot open file " + missing},
        {[&] { ReadTextFile(dir.path()); }, "Cannot open file " + dir.path()},
        {[&] { WriteTextFile(underFile, {"a"}); }, "Cannot create file " + underFile},
        {[&] { WriteTextFile(dir.path(), {"a"}); }, "Cannot create file " + dir.path()},
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

}  // namespace
}  // namespace lumetta
