// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_file.h"
#include "show/show_project.h"
#include "show/standalone_builder.h"
#include "show/standalone_show.h"
#include "support/file_bytes.h"
#include "support/photo_files.h"
#include "support/picture_files.h"
#include "support/process_io.h"
#include "support/qstring_print.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace lumetta {
namespace {

using testfiles::ReadBytes;

QImage DecodeBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).read().convertToFormat(QImage::Format_RGB32);
}

// The size list and trailer for the given block sizes, written out from the layout's rules.
QByteArray SizeListAndTrailer(const QList<qint64> &sizes)
{
    QByteArray list;
    for (qint64 size : sizes)
        list += QByteArray::number(size) + "\r\n";
    QByteArray trailer(4, '\0');
    qToLittleEndian<qint32>(qint32(list.size() + 4), trailer.data());
    return list + trailer;
}

class StandaloneBuilderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        stubBytes_ = QByteArray("#!stub\x00\x01\x02", 9) + QByteArray(5000, '\x7f');
        stub_ = Write(QStringLiteral("AEXE.tms"), stubBytes_);
        target_ = dir_.filePath(QStringLiteral("show.exe"));
    }

    QString Write(const QString &name, const QByteArray &data)
    {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
        return path;
    }

    QString Jpeg(const QString &name, int width = 40, int height = 30, quint32 seed = 1)
    {
        return Write(name, testpictures::MakeJpeg(testpictures::NoisePicture(width, height, seed)));
    }

    QByteArray Build(StandaloneBuilder::ExistingTarget existing = StandaloneBuilder::ExistingTarget::Refuse)
    {
        StandaloneBuilder builder(stub_);
        builder.MakeExe(project_, target_, existing);
        sizes_ = builder.Sizes();
        return ReadBytes(target_);
    }

    // The message of a failed build, or an empty text when it did not fail.
    QString FailedBuild(StandaloneBuilder::ExistingTarget existing = StandaloneBuilder::ExistingTarget::Refuse)
    {
        try {
            StandaloneBuilder(stub_).MakeExe(project_, target_, existing);
        } catch (const ProjectError &error) {
            return error.Message();
        }
        return {};
    }

    QStringList FolderEntries() const
    {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir_;
    QByteArray stubBytes_;
    QString stub_;
    QString target_;
    ShowProject project_;
    QStringList sizes_;
};

TEST_F(StandaloneBuilderTest, TwoJpegsOnAColourBackgroundWithoutMusic)
{
    const QString a = Jpeg(QStringLiteral("a.jpg"), 40, 30, 1);
    const QString b = Jpeg(QStringLiteral("b.jpg"), 30, 40, 2);
    project_.Pictures() = {a, b};
    project_.Playlist() = {QStringLiteral("/nowhere/track.wav")};  // not written while music is off
    ASSERT_EQ(project_.Settings().Get(ShowSettings::BackgroundKindLine), "Color");
    ASSERT_FALSE(project_.Settings().MusicOn());

    const QByteArray text = EncodeLines(project_.ProjectText());
    const QByteArray jpegA = ReadBytes(a);
    const QByteArray jpegB = ReadBytes(b);
    const QByteArray expected =
        stubBytes_ + text + jpegA + jpegB + SizeListAndTrailer({text.size(), jpegA.size(), jpegB.size()});
    EXPECT_EQ(Build(), expected);
    EXPECT_EQ(sizes_, QStringList({QString::number(text.size()), QString::number(jpegA.size()),
                                   QString::number(jpegB.size())}));
    EXPECT_TRUE(QFileInfo(target_).isExecutable());
}

TEST_F(StandaloneBuilderTest, MusicOnWithAnEmptyPlaylistWritesNoMusicBlocks)
{
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"))};
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("RepeatMusic"));
    const QByteArray text = EncodeLines(project_.ProjectText());
    ASSERT_TRUE(text.endsWith("[MUSIC]\r\n"));
    const QByteArray jpeg = ReadBytes(project_.Pictures()[0]);
    EXPECT_EQ(Build(), stubBytes_ + text + jpeg + SizeListAndTrailer({text.size(), jpeg.size()}));
}

TEST_F(StandaloneBuilderTest, MusicFilesAreCopiedUnchangedInPlaylistOrder)
{
    const QByteArray first = QByteArray("RIFF first track") + QByteArray(3000000, '\x11');
    const QByteArray second("second track, any bytes at all\x00\xff", 32);
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"))};
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    project_.Playlist() = {Write(QStringLiteral("one.wav"), first), Write(QStringLiteral("two.mp3"), second)};
    const QByteArray text = EncodeLines(project_.ProjectText());
    const QByteArray jpeg = ReadBytes(project_.Pictures()[0]);
    EXPECT_EQ(Build(), stubBytes_ + text + first + second + jpeg
                           + SizeListAndTrailer({text.size(), first.size(), second.size(), jpeg.size()}));
}

TEST_F(StandaloneBuilderTest, ThreeFourDigitSizesMakeAnEighteenByteListAndTrailer22)
{
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"), 48, 48, 3), Jpeg(QStringLiteral("b.jpg"), 48, 48, 4)};
    for (int i = 0; i < 300; ++i)
        project_.EffectSelection().append(QString::number(i % 21));
    const QByteArray show = Build();
    ASSERT_EQ(sizes_.size(), 3);
    for (const QString &size : sizes_)
        ASSERT_EQ(size.size(), 4) << size.toStdString();
    EXPECT_EQ(qFromLittleEndian<qint32>(show.constData() + show.size() - 4), 22);
    const QByteArray list = show.mid(show.size() - 22, 18);
    EXPECT_EQ(list, (sizes_.join("\r\n") + "\r\n").toLatin1());
}

struct StoredForm
{
    const char *name;
    enum { Unchanged, AsBmp, AsGif, Empty } stored;
};

class StoredFormTest : public StandaloneBuilderTest, public ::testing::WithParamInterface<StoredForm>
{
};

TEST_P(StoredFormTest, PictureBlockFollowsTheExactExtension)
{
    const StoredForm form = GetParam();
    const QImage image = testpictures::NoisePicture(21, 13, 7);
    QByteArray file;
    const QString name = QString::fromLatin1(form.name);
    if (name.endsWith(QLatin1String("bmp"), Qt::CaseInsensitive))
        file = testpictures::MakeBmp(image);
    else if (name.endsWith(QLatin1String("gif"), Qt::CaseInsensitive))
        file = testpictures::MakeGif(2, 1, {qRgb(255, 0, 0), qRgb(0, 0, 255)}, {{0, 0, 2, 1, {0, 1}}});
    else if (name.endsWith(QLatin1String("png"), Qt::CaseInsensitive))
        file = testpictures::MakeQtPicture(image, "png");
    else if (name.endsWith(QLatin1String("webp"), Qt::CaseInsensitive))
        file = testpictures::MakeQtPicture(image, "webp");
    else if (name.endsWith(QLatin1String("tif"), Qt::CaseInsensitive)
             || name.endsWith(QLatin1String("tiff"), Qt::CaseInsensitive))
        file = testpictures::MakeQtPicture(image, "tiff", 6);
    else if (name.endsWith(QLatin1String("heic"), Qt::CaseInsensitive)
             || name.endsWith(QLatin1String("heif"), Qt::CaseInsensitive))
        file = testpictures::MakeHeif(testpictures::NoisePicture(22, 14, 7), false);
    else if (name.endsWith(QLatin1String("avif"), Qt::CaseInsensitive))
        file = testpictures::MakeHeif(testpictures::NoisePicture(22, 14, 7), true);
    else
        file = testpictures::WithJpegApp1(testpictures::MakeJpeg(image), testpictures::MakeExifBlock(8));
    project_.Pictures() = {Write(name, file)};
    Build();
    ASSERT_EQ(sizes_.size(), 2);
    const QByteArray show = ReadBytes(target_);
    const qint64 textEnd = stubBytes_.size() + sizes_[0].toLongLong();
    const QByteArray block = show.mid(textEnd, sizes_[1].toLongLong());
    switch (form.stored) {
    case StoredForm::Unchanged:
        EXPECT_EQ(block, file);
        break;
    case StoredForm::AsBmp:
        ASSERT_TRUE(block.startsWith("BM"));
        EXPECT_EQ(DecodeBytes(block), image.convertToFormat(QImage::Format_RGB32));
        break;
    case StoredForm::AsGif: {
        ASSERT_TRUE(block.startsWith("GIF8"));
        const QImage decoded = DecodeBytes(block);
        ASSERT_EQ(decoded.size(), QSize(2, 1));
        EXPECT_EQ(decoded.pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(decoded.pixel(1, 0), qRgb(0, 0, 255));
        break;
    }
    case StoredForm::Empty:
        EXPECT_TRUE(block.isEmpty());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, StoredFormTest,
    ::testing::Values(StoredForm{"p.jpg", StoredForm::Unchanged}, StoredForm{"p.JPG", StoredForm::Unchanged},
                      StoredForm{"p.jpeg", StoredForm::Unchanged}, StoredForm{"p.JPEG", StoredForm::Unchanged},
                      StoredForm{"p.bmp", StoredForm::AsBmp}, StoredForm{"p.BMP", StoredForm::AsBmp},
                      StoredForm{"p.gif", StoredForm::AsGif}, StoredForm{"p.GIF", StoredForm::AsGif},
                      StoredForm{"p.png", StoredForm::Unchanged}, StoredForm{"p.PNG", StoredForm::Unchanged},
                      StoredForm{"p.webp", StoredForm::Unchanged}, StoredForm{"p.TIF", StoredForm::Unchanged},
                      StoredForm{"p.tiff", StoredForm::Unchanged}, StoredForm{"p.heic", StoredForm::Unchanged},
                      StoredForm{"p.HEIF", StoredForm::Unchanged}, StoredForm{"p.AVIF", StoredForm::Unchanged},
                      StoredForm{"p.Jpg", StoredForm::Unchanged}, StoredForm{"p.Png", StoredForm::Unchanged},
                      StoredForm{"p.jpg.svg", StoredForm::Empty}),
    [](const ::testing::TestParamInfo<StoredForm> &info) {
        // Test names allow letters, digits and underscores only.
        std::string name = info.param.name;
        for (char &c : name)
            if (c == '.')
                c = '_';
        return name;
    });

TEST_F(StandaloneBuilderTest, BackgroundPictureIsStoredAsBmpAfterTheProjectText)
{
    const QImage image = testpictures::NoisePicture(17, 9, 5);
    const struct
    {
        QString name;
        QByteArray data;
        bool stored;
    } cases[] = {
        {QStringLiteral("bg.BMP"), testpictures::MakeBmp(image), true},
        {QStringLiteral("bg.gif"), testpictures::MakeGif(1, 1, {qRgb(0, 255, 0), qRgb(0, 0, 0)}, {{0, 0, 1, 1, {0}}}),
         true},
        {QStringLiteral("bg.jpeg"), testpictures::MakeJpeg(image), true},
        {QStringLiteral("bg.Bmp"), testpictures::MakeBmp(image), true},
        {QStringLiteral("bg.svg"), QByteArray("<svg/>"), false},
    };
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"))};
    project_.Settings().Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QFile::remove(target_);
        project_.Settings().Put(ShowSettings::BackgroundLine, Write(c.name, c.data));
        const QByteArray show = Build();
        ASSERT_EQ(sizes_.size(), 3);
        const QByteArray block = show.mid(stubBytes_.size() + sizes_[0].toLongLong(), sizes_[1].toLongLong());
        if (!c.stored) {
            EXPECT_TRUE(block.isEmpty());
            continue;
        }
        ASSERT_TRUE(block.startsWith("BM"));
        const QImage decoded = DecodeBytes(block);
        const QImage source = DecodeBytes(c.data);
        EXPECT_EQ(decoded.size(), source.size());
        if (!c.name.endsWith(QLatin1String(".jpeg"))) {
            EXPECT_EQ(decoded, source);
        }
    }
}

TEST_F(StandaloneBuilderTest, ProgressCountsPlaylistEntriesEvenWithMusicOff)
{
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg")), Jpeg(QStringLiteral("b.jpg"))};
    project_.Playlist() = {Write(QStringLiteral("one.wav"), "1"), Write(QStringLiteral("two.wav"), "2")};
    for (const bool music : {false, true}) {
        SCOPED_TRACE(music);
        QFile::remove(target_);
        project_.Settings().Put(ShowSettings::MusicLine,
                                music ? QStringLiteral("RepeatMusic") : QStringLiteral("No music"));
        QList<std::pair<int, int>> steps;
        StandaloneBuilder builder(stub_);
        builder.SetProgress([&](int value, int maximum) { steps.append({value, maximum}); });
        builder.MakeExe(project_, target_);
        QList<std::pair<int, int>> expected{{0, 4}, {1, 4}, {2, 4}};
        if (music)
            expected << std::pair{3, 4} << std::pair{4, 4};
        EXPECT_EQ(steps, expected);
    }
}

TEST_F(StandaloneBuilderTest, MissingStubLeavesNoTargetFile)
{
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"))};
    QFile::remove(stub_);
    const QStringList before = FolderEntries();
    const QString message = FailedBuild();
    EXPECT_TRUE(message.startsWith("Cannot open file " + stub_)) << message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(target_));
    EXPECT_EQ(FolderEntries(), before);
}

TEST_F(StandaloneBuilderTest, FailedItemLeavesNoFileAndKeepsAnExistingOne)
{
    const QString good = Jpeg(QStringLiteral("a.jpg"));
    const QString corrupt = Write(QStringLiteral("broken.jpg"), "not a jpeg at all");
    const QString missing = dir_.filePath(QStringLiteral("gone.gif"));
    const QString background = dir_.filePath(QStringLiteral("gone.bmp"));
    const QString track = dir_.filePath(QStringLiteral("gone.wav"));
    const struct
    {
        QStringList pictures;
        QString background;  // empty: a colour background
        QStringList playlist;
        QString named;  // the file the message names
    } cases[] = {
        {{good, corrupt}, {}, {}, corrupt},
        {{missing, good}, {}, {}, missing},
        {{good}, background, {}, background},
        {{good}, {}, {track}, track},
    };
    const QByteArray old("an older file that must survive");
    for (const auto existing :
         {StandaloneBuilder::ExistingTarget::Refuse, StandaloneBuilder::ExistingTarget::Replace}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(c.named.toStdString());
            project_.Pictures() = c.pictures;
            project_.Settings().Put(ShowSettings::BackgroundKindLine, c.background.isEmpty() ? "Color" : "BackFile");
            if (!c.background.isEmpty())
                project_.Settings().Put(ShowSettings::BackgroundLine, c.background);
            project_.Settings().Put(ShowSettings::MusicLine, c.playlist.isEmpty() ? "No music" : "NoRepeat");
            project_.Playlist() = c.playlist;

            QFile::remove(target_);
            const QStringList before = FolderEntries();
            EXPECT_TRUE(FailedBuild(existing).contains(c.named));
            EXPECT_EQ(FolderEntries(), before);

            if (existing == StandaloneBuilder::ExistingTarget::Replace) {
                Write(QStringLiteral("show.exe"), old);
                const QStringList withOld = FolderEntries();
                EXPECT_TRUE(FailedBuild(existing).contains(c.named));
                EXPECT_EQ(ReadBytes(target_), old);
                EXPECT_EQ(FolderEntries(), withOld);
            }
        }
    }
}

TEST_F(StandaloneBuilderTest, ExistingTargetIsRefusedOrReplacedWhole)
{
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"))};
    const QByteArray old = QByteArray(200000, 'o');
    Write(QStringLiteral("show.exe"), old);

    EXPECT_EQ(FailedBuild(), target_ + " already exists");
    EXPECT_EQ(ReadBytes(target_), old);

    const QByteArray replaced = Build(StandaloneBuilder::ExistingTarget::Replace);
    EXPECT_TRUE(replaced.startsWith(stubBytes_));
    EXPECT_LT(replaced.size(), old.size());
    EXPECT_EQ(qFromLittleEndian<qint32>(replaced.constData() + replaced.size() - 4), 4 + EncodeLines(sizes_).size());
    EXPECT_TRUE(QFileInfo(target_).isExecutable());
}

TEST_F(StandaloneBuilderTest, TargetInAMissingFolderOrOverTheStubFailsWithItsName)
{
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"))};
    target_ = dir_.filePath(QStringLiteral("no/such/folder/show.exe"));
    EXPECT_TRUE(FailedBuild().startsWith("Cannot create file " + target_));
    target_ = stub_;
    EXPECT_TRUE(FailedBuild(StandaloneBuilder::ExistingTarget::Replace).startsWith("Cannot create file " + stub_));
    EXPECT_EQ(ReadBytes(stub_), stubBytes_);
}

// A pipe, a device (here through a link) or a read-only file is never replaced, by the editor's
// builder nor by `--build`, and stays as it was.
TEST_F(StandaloneBuilderTest, APipeADeviceOrAReadOnlyFileIsNeverTheTarget)
{
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"))};
    const QString project = dir_.filePath(QStringLiteral("show.zut"));
    WriteTextFile(project, project_.ProjectText());
    const QString pipe = dir_.filePath(QStringLiteral("pipe.exe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString device = dir_.filePath(QStringLiteral("null.exe"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), device));
    const QString readOnly = Write(QStringLiteral("kept.exe"), "kept");
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner));
    const struct
    {
        QString target;
        const char *reason;
    } cases[] = {
        {pipe, "it is not a regular file"},
        {device, "it is not a regular file"},
        {readOnly, "it is read-only"},
    };
    for (const auto &c : cases) {
        target_ = c.target;
        const QString expected = "Cannot create file " + c.target + ": " + QLatin1String(c.reason);
        EXPECT_EQ(FailedBuild(StandaloneBuilder::ExistingTarget::Replace), expected);
        std::FILE *errors = std::tmpfile();
        EXPECT_EQ(BuildShowFile(project, c.target, errors), 1) << c.reason;
        std::rewind(errors);
        char line[512] = {};
        EXPECT_TRUE(std::fgets(line, sizeof line, errors));
        std::fclose(errors);
        EXPECT_EQ(QString::fromLocal8Bit(line).trimmed(), "lumetta: " + expected);
    }
    struct stat info = {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_EQ(ReadBytes(readOnly), QByteArray("kept"));
}

// The show's own files are never the target: not even through a link or with Replace.
TEST_F(StandaloneBuilderTest, TargetThatIsOneOfTheShowsOwnFilesIsRefused)
{
    const QString picture = Jpeg(QStringLiteral("a.jpg"));
    const QString background = Write(QStringLiteral("back.bmp"), "BM");
    const QString track = Write(QStringLiteral("song.wav"), "RIFF");
    ASSERT_TRUE(QFile::link(picture, dir_.filePath(QStringLiteral("picture-link.exe"))));
    ASSERT_EQ(
        ::link(QFile::encodeName(track).constData(), QFile::encodeName(dir_.filePath("hard-link.exe")).constData()), 0);
    project_.Pictures() = {picture};
    project_.Settings().Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
    project_.Settings().Put(ShowSettings::BackgroundLine, background);
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    project_.Playlist() = {track};
    const QString projectFile = dir_.filePath(QStringLiteral("self.zut"));
    WriteTextFile(projectFile, project_.ProjectText());
    StreamDialogs dialogs(stderr);
    ASSERT_EQ(project_.OpenPath(projectFile, dialogs), ShowProject::Outcome::Done);

    const struct
    {
        QString target;
        QString what;
    } cases[] = {
        {projectFile, "the project file itself"},
        {dir_.path() + "/./self.zut", "the project file itself"},
        {stub_, "the player stub itself"},
        {picture, "one of the show's pictures"},
        {dir_.filePath(QStringLiteral("picture-link.exe")), "one of the show's pictures"},
        {background, "the show's background picture"},
        {track, "one of the show's music files"},
        {dir_.filePath(QStringLiteral("hard-link.exe")), "one of the show's music files"},
    };
    for (const auto &c : cases) {
        target_ = c.target;
        const QByteArray before = ReadBytes(c.target);
        const QString expected = "Cannot create file " + c.target + ": it is " + c.what;
        EXPECT_EQ(StandaloneBuilder(stub_).TargetConflict(project_, c.target), expected);
        EXPECT_EQ(FailedBuild(StandaloneBuilder::ExistingTarget::Replace), expected);
        EXPECT_EQ(ReadBytes(c.target), before);
    }
    EXPECT_EQ(StandaloneBuilder(stub_).TargetConflict(project_, dir_.filePath(QStringLiteral("show.exe"))),
              std::nullopt);
}

// Only regular files go into a show: a pipe would hang the build and a device never ends.
TEST_F(StandaloneBuilderTest, InputsThatAreNoRegularFilesAreRefusedByName)
{
    const QString good = Jpeg(QStringLiteral("a.jpg"));
    const QString fifo = dir_.filePath(QStringLiteral("pipe.mp3"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString pictureFifo = dir_.filePath(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pictureFifo).constData(), 0600), 0);
    const QString zero = dir_.filePath(QStringLiteral("zero.wav"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString zeroBackground = dir_.filePath(QStringLiteral("zero.bmp"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zeroBackground));
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.gif")));
    const struct
    {
        QStringList pictures;
        QString background;
        QStringList playlist;
        QString named;
        const char *reason;
    } cases[] = {
        {{good}, {}, {zero}, zero, "it is a device, not a regular file"},
        {{good}, {}, {good, fifo}, fifo, "it is a pipe, not a regular file"},
        {{pictureFifo}, {}, {}, pictureFifo, "it is a pipe, not a regular file"},
        {{good}, zeroBackground, {}, zeroBackground, "it is a device, not a regular file"},
        {{good, dir_.filePath(QStringLiteral("folder.gif"))},
         {},
         {},
         dir_.filePath(QStringLiteral("folder.gif")),
         "it is a folder"},
    };
    for (const auto &c : cases) {
        project_.Pictures() = c.pictures;
        project_.Settings().Put(ShowSettings::BackgroundKindLine, c.background.isEmpty() ? "Color" : "BackFile");
        if (!c.background.isEmpty())
            project_.Settings().Put(ShowSettings::BackgroundLine, c.background);
        project_.Settings().Put(ShowSettings::MusicLine, c.playlist.isEmpty() ? "No music" : "NoRepeat");
        project_.Playlist() = c.playlist;
        const QStringList before = FolderEntries();
        EXPECT_EQ(FailedBuild(), "Cannot open file " + c.named + ": " + c.reason);
        EXPECT_EQ(FolderEntries(), before);
        EXPECT_FALSE(QFileInfo::exists(target_));
    }
}

// A show its player would refuse is not built: the player's bounds hold for the builder too.
TEST_F(StandaloneBuilderTest, WhatThePlayerWouldRefuseIsNotBuilt)
{
    project_.Pictures() = {Jpeg(QStringLiteral("a.jpg"))};
    project_.EffectSelection() = QStringList(StandaloneShow::kMaxEffectLines, QStringLiteral("1"));
    EXPECT_EQ(FailedBuild(), QString());
    QFile::remove(target_);
    project_.EffectSelection() << QStringLiteral("2");
    EXPECT_EQ(FailedBuild(), "Cannot create file " + target_
                                 + ": the show would hold 4097 effect lines where its player reads at most 4096");
    EXPECT_FALSE(QFileInfo::exists(target_));

    project_.EffectSelection() = {QStringLiteral("1")};
    project_.Pictures() = QStringList(StandaloneShow::kMaxSizeListBytes / 3, project_.Pictures().first());
    EXPECT_EQ(FailedBuild(), "Cannot create file " + target_
                                 + ": the show would hold a size list of at least 1048578 bytes where its player "
                                   "reads at most 1048576");
    EXPECT_EQ(FolderEntries(), QStringList({"AEXE.tms", "a.jpg"}));
}

// A picture is refused by its header, not after the builder has read the whole file.
TEST_F(StandaloneBuilderTest, AGigabytePictureWithABadHeaderIsRefusedUnread)
{
    const QString big = dir_.filePath(QStringLiteral("big.png"));
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));
    file.close();
    project_.Pictures() = {big};
    const qint64 before = testfiles::BytesReadByThisProcess();
    ASSERT_GE(before, 0);
    EXPECT_EQ(FailedBuild(), "Cannot load picture " + big + ": not a PNG file");
    // The stub and the project text are read; the picture's gigabyte is not.
    EXPECT_LT(testfiles::BytesReadByThisProcess() - before, qint64(1) << 20);
    EXPECT_FALSE(QFileInfo::exists(target_));
}

TEST(StoredPictureKind, TheExtensionInAnyCase)
{
    EXPECT_EQ(StoredPictureKind("/a/b.jpeg"), PictureKind::Jpeg);
    EXPECT_EQ(StoredPictureKind("/a.gif/b.GIF"), PictureKind::Gif);
    EXPECT_EQ(StoredPictureKind("/a.jpg/b"), std::nullopt);
    EXPECT_EQ(StoredPictureKind("/a/b.Gif"), PictureKind::Gif);
    EXPECT_EQ(StoredPictureKind("/a/b.bmp "), std::nullopt);
    EXPECT_EQ(StoredPictureKind("/a/b.PNG"), PictureKind::Png);
    EXPECT_EQ(StoredPictureKind("/a/b.heic"), PictureKind::Heif);
    EXPECT_EQ(StoredPictureKind("/a/b.Avif"), PictureKind::Heif);
    EXPECT_EQ(StoredPictureKind("/a/b.svg"), std::nullopt);
}

}  // namespace
}  // namespace lumetta
