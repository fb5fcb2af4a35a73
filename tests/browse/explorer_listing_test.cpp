// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/explorer_listing.h"
#include "media/picture_extensions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(ExplorerListing, MasksMatchLikeAFileDialog)
{
    struct Case
    {
        const char *name;
        const char *mask;
        bool matches;
    };
    const Case cases[] = {
        {"photo.jpg", "*.jpg", true},  {"photo.JPG", "*.jpg", true},   {"photojpg", "*jpg", true},
        {"photo.jpeg", "*jpg", false}, {"photo.jpeg", "*.JPEG", true}, {"README", "*.*", true},
        {"a.gif", "*.bmp", false},     {"x.bmp", "?.bmp", true},       {"xy.bmp", "?.bmp", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MaskMatches(QString::fromLatin1(c.name), QString::fromLatin1(c.mask)), c.matches)
            << c.name << " " << c.mask;
    EXPECT_EQ(SplitMask(QStringLiteral("*.bmp;*jpg;;*.gif")),
              (QStringList{QStringLiteral("*.bmp"), QStringLiteral("*jpg"), QStringLiteral("*.gif")}));
}

TEST(ExplorerListing, ThousandsSeparators)
{
    const std::pair<qint64, const char *> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}, {500107862016, "500,107,862,016"}};
    for (const auto &[value, text] : cases)
        EXPECT_EQ(FormatThousands(value), QString::fromLatin1(text));
}

ExplorerEntry Entry(const QString &caption, const QString &size, const QString &type, const QString &modified)
{
    return ExplorerEntry{caption, {size, type, modified, QString(), caption, QStringLiteral("file")}};
}

TEST(ExplorerListing, CompareRules)
{
    const ExplorerEntry folder = Entry(QStringLiteral("zeta"), QStringLiteral(" "), QStringLiteral("folder"), {});
    const ExplorerEntry small = Entry(QStringLiteral("Beta.jpg"), QStringLiteral("900"), QStringLiteral("JPEG image"),
                                      QStringLiteral("12/31/2025 23:59"));
    const ExplorerEntry large = Entry(QStringLiteral("alpha.jpg"), QStringLiteral("1000"), QStringLiteral("bmp image"),
                                      QStringLiteral("01/02/2026 08:00"));
    struct Case
    {
        const ExplorerEntry &a;
        const ExplorerEntry &b;
        int column;
        bool descending;
        int expected;
    };
    const Case cases[] = {
        {folder, small, 0, false, -1},  // folders first
        {folder, small, 0, true, 1},  // and last when descending
        {large, small, 0, false, -1},  // names upper-cased: ALPHA before BETA
        {small, large, 1, false, -1},  // sizes as numbers: 900 before 1000
        {small, large, 1, true, 1},    {small, large, 3, false, -1},  // dates in time order across the year
        {large, small, 2, false, -1},  // type names ignore case: bmp before JPEG
        {small, small, 0, false, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CompareEntries(c.a, c.b, c.column, c.descending), c.expected)
            << c.a.caption.toStdString() << " " << c.b.caption.toStdString() << " column " << c.column;
}

TEST(ExplorerListing, ParentDirectory)
{
    EXPECT_EQ(ParentDirectory(QStringLiteral("/")), QStringLiteral("Drives"));
    EXPECT_EQ(ParentDirectory(QStringLiteral("DRIVES")), QString());
    EXPECT_EQ(ParentDirectory(QStringLiteral("drives")), QString());
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/a/b/");
    EXPECT_EQ(ParentDirectory(folder), dir.path() + QStringLiteral("/a/"));
}

void Touch(const QString &path, int bytes = 1)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
}

QStringList Captions(const QList<ExplorerEntry> &entries)
{
    QStringList captions;
    for (const ExplorerEntry &entry : entries)
        captions.append(entry.caption);
    return captions;
}

TEST(ExplorerListing, FoldersThenEachMaskWithAttributeFilter)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    QDir(folder).mkdir(QStringLiteral("sub"));
    QDir(folder).mkdir(QStringLiteral(".config"));
    for (const char *name : {"b.gif", "a.jpg", "c.JPG", "notes.txt", ".hidden.jpg", "both.jpg"})
        Touch(folder + QString::fromLatin1(name), 3);

    EXPECT_EQ(Captions(ListFolder(folder, QStringLiteral("*.jpg;*.gif"), {})),
              (QStringList{"sub", "a.jpg", "both.jpg", "c.JPG", "b.gif"}));
    EXPECT_EQ(Captions(ListFolder(folder, QStringLiteral("*.jpg;*.gif"), HiddenFiles)),
              (QStringList{".config", "sub", ".hidden.jpg", "a.jpg", "both.jpg", "c.JPG", "b.gif"}));
    // A file matching two masks is listed once.
    EXPECT_EQ(Captions(ListFolder(folder, QStringLiteral("*.jpg;both.*"), {})),
              (QStringList{"sub", "a.jpg", "both.jpg", "c.JPG"}));

    const QList<ExplorerEntry> entries = ListFolder(folder, QStringLiteral("a.jpg"), HiddenFiles);
    const ExplorerEntry &sub = entries[1];
    EXPECT_EQ(sub.subItems[SizeItem], QStringLiteral(" "));
    EXPECT_EQ(sub.subItems[PathItem], folder + QStringLiteral("sub"));
    EXPECT_EQ(sub.subItems[KindItem], QStringLiteral("dir"));
    EXPECT_EQ(entries[0].subItems[AttributesItem], QStringLiteral("H"));
    const ExplorerEntry &file = entries[2];
    EXPECT_EQ(file.subItems[SizeItem], QStringLiteral("3"));
    EXPECT_EQ(file.subItems[PathItem], folder + QStringLiteral("a.jpg"));
    EXPECT_EQ(file.subItems[KindItem], QStringLiteral("file"));
    EXPECT_EQ(file.subItems[AttributesItem], QString());
    EXPECT_FALSE(file.subItems[TypeItem].isEmpty());
    EXPECT_TRUE(QDateTime::fromString(file.subItems[ModifiedItem], QStringLiteral("MM/dd/yyyy hh:mm")).isValid());
}

TEST(ExplorerListing, ThePictureMaskListsTodaysFormats)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    for (const char *name :
         {"a.png", "b.HEIC", "c.avif", "d.webp", "e.tif", "f.TIFF", "g.heif", "h.jpeg", "i.svg", "j.mp3"})
        Touch(folder + QString::fromLatin1(name), 3);
    EXPECT_EQ(Captions(ListFolder(folder, AcceptedPictureMask(), {})),
              (QStringList{"h.jpeg", "a.png", "d.webp", "e.tif", "f.TIFF", "b.HEIC", "g.heif", "c.avif"}));
}

TEST(ExplorerListing, ReadOnlyFilesOnlyWhenAsked)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    Touch(folder + QStringLiteral("locked.jpg"));
    QFile::setPermissions(folder + QStringLiteral("locked.jpg"), QFile::ReadOwner | QFile::ReadUser);
    if (QFileInfo(folder + QStringLiteral("locked.jpg")).isWritable())
        GTEST_SKIP() << "this user may write any file";
    EXPECT_TRUE(ListFolder(folder, QStringLiteral("*.*"), {}).isEmpty());
    const QList<ExplorerEntry> entries = ListFolder(folder, QStringLiteral("*.*"), ReadOnlyFiles);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].subItems[AttributesItem], QStringLiteral("R"));
}

}  // namespace
}  // namespace lumetta
