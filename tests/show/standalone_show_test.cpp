// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_file.h"
#include "show/show_project.h"
#include "show/standalone_builder.h"
#include "show/standalone_show.h"
#include "show/story_file.h"
#include "support/file_bytes.h"
#include "support/photo_files.h"
#include "support/picture_files.h"
#include "support/qstring_print.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace lumetta {
namespace {

using testfiles::ReadBytes;

// Writes DATA as NAME in DIR and returns its path.
QString WriteIn(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
    return path;
}

QByteArray Trailer(qint64 value)
{
    QByteArray trailer(4, '\0');
    qToLittleEndian<qint32>(qint32(value), trailer.data());
    return trailer;
}

// Ten settings lines of a show with a colour background, music off, and the given pictures.
QByteArray ProjectText(int pictures)
{
    QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    for (int i = 0; i < pictures; ++i)
        lines << QStringLiteral("/p/%1.jpg").arg(i);
    lines << "[TRANS]"
          << "3"
          << "[MUSIC]";
    return EncodeLines(lines);
}

// Reads a show from memory; the message when it is refused, else an empty text.
QString Refusal(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        StandaloneShow::Read(buffer, QStringLiteral("show.exe"));
    } catch (const ProjectError &error) {
        return error.Message();
    }
    return {};
}

TEST(StandaloneShowRead, FindsEveryBlockOfAHandMadeShow)
{
    const QByteArray stub("STUB");
    const QByteArray text = ProjectText(2);
    const QByteArray sizes = QByteArray::number(text.size()) + "\r\n5\r\n0\r\n";
    QBuffer buffer;
    buffer.setData(stub + text + "abcde" + sizes + Trailer(sizes.size() + 4));
    buffer.open(QIODevice::ReadOnly);
    const StandaloneShow show = StandaloneShow::Read(buffer, "x");
    EXPECT_EQ(show.DataStart(), 4);
    EXPECT_EQ(show.ProjectBlock(), (StandaloneShow::Block{4, text.size()}));
    EXPECT_FALSE(show.Background());
    EXPECT_TRUE(show.Music().isEmpty());
    EXPECT_EQ(show.Pictures(), (QList<StandaloneShow::Block>{{4 + text.size(), 5}, {4 + text.size() + 5, 0}}));
    EXPECT_EQ(show.Content().pictures, QStringList({"/p/0.jpg", "/p/1.jpg"}));
    EXPECT_EQ(show.Content().effects, QStringList({"3"}));
}

TEST(StandaloneShowRead, RefusesTruncatedAndHostileFiles)
{
    const QByteArray text = ProjectText(1);
    const QByteArray textSize = QByteArray::number(text.size());
    const QByteArray goodList = textSize + "\r\n3\r\n";
    const QByteArray good = "STUB" + text + "abc" + goodList + Trailer(goodList.size() + 4);
    ASSERT_EQ(Refusal(good), QString());

    const struct
    {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        {"empty file", QByteArray()},
        {"three bytes", QByteArray("abc")},
        {"the bare stub", QByteArray(5000, 'x') + Trailer(0)},
        {"trailer of 4 (empty list)", "STUB" + text + Trailer(4)},
        {"negative trailer", good.left(good.size() - 4) + Trailer(-1)},
        {"most negative trailer", good.left(good.size() - 4) + Trailer(std::numeric_limits<qint32>::min())},
        {"trailer beyond the file", good.left(good.size() - 4) + Trailer(good.size() + 1)},
        {"huge trailer", good.left(good.size() - 4) + Trailer(std::numeric_limits<qint32>::max())},
        {"truncated at the end", good.left(good.size() - 1)},
        {"truncated in the blocks", good.mid(40)},
        {"list without line end", "STUB" + text + "abc" + textSize + "\r\n3" + Trailer(textSize.size() + 3 + 4)},
        {"bare LF line ends", "STUB" + text + "abc" + textSize + "\n3\n" + Trailer(textSize.size() + 2 + 4)},
        {"sign in a size", "STUB" + text + "abc" + textSize + "\r\n-3\r\n" + Trailer(goodList.size() + 1 + 4)},
        {"blank size line", "STUB" + text + "abc" + textSize + "\r\n\r\n3\r\n" + Trailer(goodList.size() + 2 + 4)},
        {"size larger than the file",
         "STUB" + text + "abc" + textSize + "\r\n999999999\r\n" + Trailer(textSize.size() + 13 + 4)},
        {"nineteen-digit size",
         "STUB" + text + "abc" + textSize + "\r\n9223372036854775807\r\n" + Trailer(textSize.size() + 23 + 4)},
        {"sizes summing past the start", "ST" + text + "abc" + textSize + "\r\n6\r\n" + Trailer(goodList.size() + 4)},
        {"a size line too many", "STUB" + text + "abc" + goodList + "0\r\n" + Trailer(goodList.size() + 3 + 4)},
        {"a size line too few", "STUB" + text + textSize + "\r\n" + Trailer(textSize.size() + 2 + 4)},
        {"project text under ten lines", "STUB" + EncodeLines({"2", "80"}) + "7\r\n" + Trailer(3 + 4)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString message = Refusal(c.bytes);
        EXPECT_TRUE(message.startsWith("show.exe holds no valid slide show: ")) << message.toStdString();
    }
}

TEST(StandaloneShowRead, SizeListNeedsOneBlockPerItemTheProjectNames)
{
    // Background and music on: the project text says how many blocks follow it.
    QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    lines[ShowSettings::BackgroundKindLine] = "BackFile";
    lines[ShowSettings::BackgroundLine] = "/bg.bmp";
    lines[ShowSettings::MusicLine] = "NoRepeat";
    lines << "/p.jpg"
          << "[TRANS]"
          << "[MUSIC]"
          << "/a.wav"
          << "/b.wav";
    const QByteArray text = EncodeLines(lines);
    const QByteArray blocks = "BG"
                              "A"
                              "BB"
                              "PPP";
    const QByteArray list = QByteArray::number(text.size()) + "\r\n2\r\n1\r\n2\r\n3\r\n";
    QBuffer buffer;
    buffer.setData("S" + text + blocks + list + Trailer(list.size() + 4));
    buffer.open(QIODevice::ReadOnly);
    const StandaloneShow show = StandaloneShow::Read(buffer, "x");
    const qint64 start = 1 + text.size();
    EXPECT_EQ(show.Background(), (StandaloneShow::Block{start, 2}));
    EXPECT_EQ(show.Music(), (QList<StandaloneShow::Block>{{start + 2, 1}, {start + 3, 2}}));
    EXPECT_EQ(show.Pictures(), (QList<StandaloneShow::Block>{{start + 5, 3}}));

    const QByteArray shortList = QByteArray::number(text.size()) + "\r\n2\r\n1\r\n5\r\n";
    EXPECT_EQ(Refusal("S" + text + blocks + shortList + Trailer(shortList.size() + 4)),
              "show.exe holds no valid slide show: the picture list names 1 picture but the file holds 0");
}

// A show file made of STUB, TEXT, blocks of the given sizes (filled with 'x') and their size list.
QByteArray ShowFile(const QByteArray &text, const QList<qint64> &blockSizes)
{
    QByteArray list = QByteArray::number(text.size()) + "\r\n";
    QByteArray blocks;
    for (qint64 size : blockSizes) {
        list += QByteArray::number(size) + "\r\n";
        blocks += QByteArray(size, 'x');
    }
    return "STUB" + text + blocks + list + Trailer(list.size() + 4);
}

TEST(StandaloneShowRead, SaysInWordsWhatDoesNotMatch)
{
    QStringList musicOn = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    musicOn[ShowSettings::MusicLine] = "NoRepeat";
    QStringList tooManyEffects = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    tooManyEffects << "/p.jpg"
                   << "[TRANS]";
    for (int i = 0; i < 5000; ++i)
        tooManyEffects << "1";
    tooManyEffects << "[MUSIC]";
    const struct
    {
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        {ShowFile(ProjectText(12), QList<qint64>(11, 1)), "the picture list names 12 pictures but the file holds 11"},
        {ShowFile(ProjectText(1), {1, 1}), "the picture list names 1 picture but the file holds 2"},
        {ShowFile(ProjectText(0), {7}), "the picture list names 0 pictures but the file holds 1"},
        {ShowFile(EncodeLines({"2", "80"}), {}), "the project text has 2 lines where the settings alone take 10"},
        {ShowFile(EncodeLines(musicOn + QStringList{"/p.jpg", "[TRANS]", "[MUSIC]", "/a.wav", "/b.wav", "/c.wav"}),
                  {1, 1}),
         "the show needs 3 files for its background and music but the file holds 2 blocks"},
        {ShowFile(EncodeLines(tooManyEffects), {1}),
         "the effect selection has 5000 lines where a show has at most 4096"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Refusal(c.bytes), QStringLiteral("show.exe holds no valid slide show: ") + QLatin1String(c.reason));
}

// Millions of one-character lines where the size list backs none of them: counted, never held.
TEST(StandaloneShowRead, MillionsOfLinesAreRefusedWithoutHoldingThem)
{
    const QByteArray settings = EncodeLines(ShowSettings::DefaultLines(ShowSettings::Defaults::Start));
    const QByteArray lines = QByteArray("a\r\n").repeated(20'000'000);
    const struct
    {
        QByteArray text;
        QList<qint64> blocks;
        const char *reason;
    } cases[] = {
        {settings + lines + "[TRANS]\r\n[MUSIC]\r\n",
         {1},
         "the picture list names 20000000 pictures but the file holds 1"},
        {settings + "[TRANS]\r\n" + lines + "[MUSIC]\r\n",
         {},
         "the effect selection has 20000000 lines where a show has at most 4096"},
        // With the music off, lines after "[MUSIC]" belong to nothing: the show is read.
        {settings + "/p.jpg\r\n[TRANS]\r\n[MUSIC]\r\n" + lines, {1}, nullptr},
    };
    for (const auto &c : cases) {
        struct rusage before = {}, after = {};
        getrusage(RUSAGE_SELF, &before);
        const QString expected =
            c.reason ? QStringLiteral("show.exe holds no valid slide show: ") + QLatin1String(c.reason) : QString();
        EXPECT_EQ(Refusal(ShowFile(c.text, c.blocks)), expected);
        getrusage(RUSAGE_SELF, &after);
        // The file, its project text and the decoded text: a few times 60 MB, not the 1.6 GB
        // that a list of twenty million lines takes.
        EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 600L * 1024);
    }
}

TEST(StandaloneShowExtract, RefusesABlockOutsideTheFile)
{
    QTemporaryDir dir;
    QBuffer buffer;
    buffer.setData("0123456789");
    buffer.open(QIODevice::ReadOnly);
    for (const StandaloneShow::Block block :
         {StandaloneShow::Block{8, 3}, StandaloneShow::Block{-1, 2}, StandaloneShow::Block{2, -1},
          StandaloneShow::Block{std::numeric_limits<qint64>::max(), 1}}) {
        EXPECT_THROW(StandaloneShow::ExtractBlock(buffer, block, dir.filePath("out")), ProjectError);
        EXPECT_FALSE(QFile::exists(dir.filePath("out")));
    }
    StandaloneShow::ExtractBlock(buffer, {7, 3}, dir.filePath("out"));
    EXPECT_EQ(ReadBytes(dir.filePath("out")), "789");
}

TEST(StandaloneShowRoundTrip, BuiltShowExtractsToTheSameItems)
{
    QTemporaryDir dir;
    const auto write = [&dir](const QString &name, const QByteArray &data) { return WriteIn(dir, name, data); };
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    const QString stub = write("AEXE.tms", QByteArray(3000, 's'));
    const QByteArray jpeg = testpictures::MakeJpeg(image);
    QDir().mkpath(dir.filePath("one"));
    QDir().mkpath(dir.filePath("two"));

    ShowProject project;
    project.Pictures() = {write("one/same.jpg", jpeg), write("two/same.jpg", jpeg), write("odd.svg", "svg?"),
                          write("pic.bmp", testpictures::MakeBmp(image))};
    project.EffectSelection() = {"0", "20"};
    project.Settings().Put(ShowSettings::MusicLine, "RepeatMusic");
    project.Playlist() = {write("a.wav", "track A"), write("b.mp3", "track B")};
    project.Settings().Put(ShowSettings::BackgroundKindLine, "BackFile");
    project.Settings().Put(ShowSettings::BackgroundLine,
                           write("back.gif", testpictures::MakeGif(1, 1, {qRgb(9, 9, 9), 0}, {{0, 0, 1, 1, {0}}})));
    const QString target = dir.filePath("show.scr");
    StandaloneBuilder(stub).MakeExe(project, target);

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const StandaloneShow show = StandaloneShow::Read(file, target);
    EXPECT_EQ(show.DataStart(), 3000);
    EXPECT_EQ(show.Content().settings.Lines(), project.Settings().Lines());
    EXPECT_EQ(show.Content().pictures, project.Pictures());
    EXPECT_EQ(show.Content().effects, project.EffectSelection());
    EXPECT_EQ(show.Content().playlist, project.Playlist());

    QTemporaryDir out;
    ShowProject played;
    show.ExtractTo(file, out.path(), played);
    EXPECT_EQ(played.EffectSelection(), project.EffectSelection());
    ASSERT_EQ(played.Pictures().size(), 4);
    const QStringList names{"same.jpg", "same.jpg", "odd.svg", "pic.bmp"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(played.Pictures()[i].startsWith(out.path()));
        EXPECT_EQ(QFileInfo(played.Pictures()[i]).fileName(), names[i]);
    }
    EXPECT_NE(played.Pictures()[0], played.Pictures()[1]);
    EXPECT_EQ(ReadBytes(played.Pictures()[1]), jpeg);
    EXPECT_EQ(ReadBytes(played.Pictures()[2]), QByteArray());
    EXPECT_EQ(QImage(played.Pictures()[3]).convertToFormat(QImage::Format_RGB32), image);
    ASSERT_EQ(played.Playlist().size(), 2);
    EXPECT_EQ(ReadBytes(played.Playlist()[0]), "track A");
    EXPECT_EQ(QFileInfo(played.Playlist()[1]).fileName(), "b.mp3");
    const QString background = played.Settings().BackgroundFile();
    EXPECT_TRUE(background.startsWith(out.path()));
    EXPECT_EQ(QImage(background).pixel(0, 0), qRgb(9, 9, 9));
    EXPECT_EQ(played.Settings().Get(ShowSettings::MusicLine), "RepeatMusic");
}

TEST(StandaloneShowRoundTrip, PhotosKeepTheirBytesAndComeOutUpright)
{
    QTemporaryDir dir;
    const auto write = [&dir](const QString &name, const QByteArray &data) { return WriteIn(dir, name, data); };
    const QImage upright = testpictures::QuadrantPicture(64, 48);
    const QByteArray files[] = {
        testpictures::MakeQtPicture(upright, "png"),
        testpictures::MakeHeif(testpictures::StoredForOrientation(upright, 6), false, 6),
        testpictures::WithJpegApp1(testpictures::MakeJpeg(testpictures::StoredForOrientation(upright, 8)),
                                   testpictures::MakeExifBlock(8)),
        testpictures::WithJpegApp1(testpictures::MakeJpeg(testpictures::StoredForOrientation(upright, 3)),
                                   testpictures::MakeExifBlock(3, true)),
    };
    const QStringList names{"flat.PNG", "phone.heic", "camera.jpg", "upside.JPEG"};
    ShowProject project;
    for (int i = 0; i < 4; ++i)
        project.Pictures() << write(names[i], files[i]);
    const QString target = dir.filePath("photos.exe");
    StandaloneBuilder(write("AEXE.tms", QByteArray(100, 's'))).MakeExe(project, target);

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QTemporaryDir out;
    ShowProject played;
    StandaloneShow::Read(file, target).ExtractTo(file, out.path(), played);
    ASSERT_EQ(played.Pictures().size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ReadBytes(played.Pictures()[i]), files[i]) << names[i].toStdString();
        const Picture picture = Picture::Load(played.Pictures()[i]);
        ASSERT_EQ(picture.size(), QSize(64, 48)) << names[i].toStdString();
        const QImage &shown = picture.Image();
        EXPECT_GT(qRed(shown.pixel(16, 12)), 200) << names[i].toStdString();
        EXPECT_GT(qGreen(shown.pixel(48, 12)), 200) << names[i].toStdString();
        EXPECT_GT(qBlue(shown.pixel(16, 36)), 200) << names[i].toStdString();
        EXPECT_LT(qRed(shown.pixel(16, 36)), 60) << names[i].toStdString();
    }
}

TEST(StandaloneShowExtract, EmptyBackgroundBlockBecomesBlackAndNamesStayInsideTheFolder)
{
    QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    lines[ShowSettings::BackgroundKindLine] = "BackFile";
    lines[ShowSettings::BackgroundLine] = "/back.Png";
    lines << "/x/.."
          << "C:\\Photos\\beach.jpg"
          << "/y/"
          << "[TRANS]"
          << "[MUSIC]";
    const QByteArray text = EncodeLines(lines);
    const QByteArray list = QByteArray::number(text.size()) + "\r\n0\r\n1\r\n1\r\n1\r\n";
    QBuffer buffer;
    buffer.setData(text + "abc" + list + Trailer(list.size() + 4));
    buffer.open(QIODevice::ReadOnly);
    const StandaloneShow show = StandaloneShow::Read(buffer, "x");
    QTemporaryDir out;
    ShowProject played;
    show.ExtractTo(buffer, out.path(), played);
    EXPECT_EQ(played.Settings().Get(ShowSettings::BackgroundKindLine), "Color");
    EXPECT_EQ(played.Settings().Get(ShowSettings::BackgroundLine), "clBlack_clBlack");
    ASSERT_EQ(played.Pictures().size(), 3);
    EXPECT_EQ(QFileInfo(played.Pictures()[0]).fileName(), "pictures");
    EXPECT_EQ(QFileInfo(played.Pictures()[1]).fileName(), "beach.jpg");
    for (const QString &path : played.Pictures()) {
        EXPECT_TRUE(QFileInfo(path).canonicalFilePath().startsWith(QFileInfo(out.path()).canonicalFilePath()));
        EXPECT_EQ(ReadBytes(path).size(), 1);
    }
}

// A show of NAMES, each picture block one byte, read from memory.
struct ShowInMemory
{
    explicit ShowInMemory(const QStringList &names)
    {
        QStringList lines = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
        lines << names << "[TRANS]"
              << "[MUSIC]";
        const QByteArray text = EncodeLines(lines);
        QByteArray list = QByteArray::number(text.size()) + "\r\n";
        for (qsizetype i = 0; i < names.size(); ++i)
            list += "1\r\n";
        buffer.setData(text + QByteArray(names.size(), 'p') + list + Trailer(list.size() + 4));
        buffer.open(QIODevice::ReadOnly);
    }
    QBuffer buffer;
};

// Equal names share no folder, different names share one: a show of many pictures makes few
// folders, which the file system removes far faster than one folder for each.
TEST(StandaloneShowExtract, PicturesGoIntoTheFirstFolderWhereTheirNameIsFree)
{
    ShowInMemory memory({"/a/x.jpg", "/b/y.jpg", "/c/x.jpg", "/d/x.jpg", "/e/z.jpg"});
    const StandaloneShow show = StandaloneShow::Read(memory.buffer, "x");
    QTemporaryDir out;
    ShowProject played;
    EXPECT_TRUE(show.ExtractTo(memory.buffer, out.path(), played));
    const QString pictures = out.path() + "/pictures/";
    EXPECT_EQ(played.Pictures(), QStringList({pictures + "0/x.jpg", pictures + "0/y.jpg", pictures + "1/x.jpg",
                                              pictures + "2/x.jpg", pictures + "0/z.jpg"}));
    EXPECT_EQ(QDir(pictures).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"0", "1", "2"}));
}

// A player told to end stops unpacking at once instead of unpacking the whole show first.
TEST(StandaloneShowExtract, StopsBetweenFilesWhenAsked)
{
    QStringList names;
    for (int i = 0; i < 50; ++i)
        names << QStringLiteral("/p/%1.jpg").arg(i);
    ShowInMemory memory(names);
    const StandaloneShow show = StandaloneShow::Read(memory.buffer, "x");
    QTemporaryDir out;
    ShowProject played;
    int asked = 0;
    EXPECT_FALSE(show.ExtractTo(memory.buffer, out.path(), played, [&asked] { return ++asked > 3; }));
    EXPECT_EQ(played.Pictures().size(), 3);
    EXPECT_EQ(QDir(out.path() + "/pictures/0").entryList(QDir::Files).size(), 3);
}

TEST(StandaloneShowRoundTrip, SlideDetailsFollowThePicturesAndAShowWithoutThemKeepsItsLayout)
{
    QTemporaryDir dir;
    const auto write = [&dir](const QString &name, const QByteArray &data) { return WriteIn(dir, name, data); };
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    const QString stub = write("AEXE.tms", QByteArray(100, 's'));
    const QString picture = write("p.jpg", testpictures::MakeJpeg(image));
    ShowProject project;
    project.Pictures() = {picture, picture};
    const QString plain = dir.filePath("plain");
    StandaloneBuilder(stub).MakeExe(project, plain);

    SlideDetails details;
    details.caption.text = "Second";
    details.durationMs = 4200;
    details.transition = SlideTransition::Named("Intro");
    details.motion = SlideMotion::PanRight();
    project.Story().SetSlide(1, details);
    project.Story().SetFitToMusic(true);
    project.Story().SetGentleMotion(true);
    const QString told = dir.filePath("told");
    StandaloneBuilder builder(stub);
    builder.MakeExe(project, told);
    const QByteArray story = StoryFile::Bytes(project.Story(), project.Pictures());
    EXPECT_EQ(builder.Sizes().size(), 4);
    EXPECT_EQ(builder.Sizes().last(), QString::number(story.size()));

    QFile plainFile(plain);
    ASSERT_TRUE(plainFile.open(QIODevice::ReadOnly));
    const QByteArray plainBytes = plainFile.readAll();
    // Without details: stub, text, two pictures, three sizes, trailer, as before.
    const StandaloneShow plainShow = StandaloneShow::Read(plainFile, plain);
    EXPECT_FALSE(plainShow.Story());
    EXPECT_EQ(plainBytes.right(4),
              Trailer(plainBytes.size() - plainShow.Pictures().last().offset - plainShow.Pictures().last().size));

    QFile file(told);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const StandaloneShow show = StandaloneShow::Read(file, told);
    ASSERT_TRUE(show.Story());
    EXPECT_EQ(show.Story()->size, story.size());
    QTemporaryDir out;
    ShowProject played;
    played.Story().SetFitToMusic(false);
    ASSERT_TRUE(show.ExtractTo(file, out.path(), played));
    EXPECT_EQ(played.Story(), project.Story());
    EXPECT_NE(played.Pictures()[1], picture);
}

}  // namespace
}  // namespace lumetta
