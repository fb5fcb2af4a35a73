// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/icons.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

constexpr IconId kAll[] = {IconId::App,    IconId::Play,    IconId::NewProject, IconId::Open,       IconId::Save,
                           IconId::SaveAs, IconId::Options, IconId::Help,       IconId::Exit,       IconId::Add,
                           IconId::AddAll, IconId::Remove,  IconId::Clear,      IconId::Preview,    IconId::FolderUp,
                           IconId::Music,  IconId::About,   IconId::MakeShow,   IconId::ExportVideo};

// A theme of our own with one icon, so the test does not depend on what the machine has.
class ThemeScope
{
public:
    ThemeScope(const QString &folder, const QString &icon, QRgb colour)
        : searchPaths_(QIcon::themeSearchPaths()),
          name_(QIcon::themeName())
    {
        const QDir theme(folder + "/testtheme");
        QDir().mkpath(theme.filePath("32x32/actions"));
        QFile index(theme.filePath("index.theme"));
        EXPECT_TRUE(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=testtheme\nDirectories=32x32/actions\n\n"
                    "[32x32/actions]\nSize=32\nType=Fixed\n");
        index.close();
        QImage picture(32, 32, QImage::Format_ARGB32);
        picture.fill(colour);
        EXPECT_TRUE(picture.save(theme.filePath("32x32/actions/" + icon + ".png")));
        QIcon::setThemeSearchPaths({folder});
        QIcon::setThemeName("testtheme");
    }
    ~ThemeScope()
    {
        QIcon::setThemeSearchPaths(searchPaths_);
        QIcon::setThemeName(name_);
    }

private:
    QStringList searchPaths_;
    QString name_;
};

TEST(IconsTest, EveryIconHasAFreedesktopNameAndAPictureOfOurOwn)
{
    QStringList names;
    for (IconId id : kAll) {
        const IconNames icon = NamesOf(id);
        EXPECT_STRNE(icon.themeName, "");
        EXPECT_TRUE(QFile::exists(QLatin1String(icon.fallback))) << icon.fallback;
        const QIcon made = MakeIcon(id);
        EXPECT_FALSE(made.isNull()) << icon.themeName;
        EXPECT_EQ(made.pixmap(QSize(32, 32), 1.0).size(), QSize(32, 32)) << icon.themeName;
        names << QLatin1String(icon.fallback);
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), int(std::size(kAll)));
    EXPECT_STREQ(NamesOf(IconId::Save).themeName, "document-save");
    EXPECT_STREQ(NamesOf(IconId::App).themeName, "lumetta");
}

TEST(IconsTest, TheDesktopThemeComesFirst)
{
    QTemporaryDir folder;
    ThemeScope theme(folder.path(), "document-save", qRgb(255, 0, 0));
    EXPECT_EQ(MakeIcon(IconId::Save).pixmap(QSize(32, 32), 1.0).toImage().pixel(16, 16), qRgb(255, 0, 0));
    // What the theme lacks comes from our pictures: the play disc is green around a white arrow.
    const QImage play = MakeIcon(IconId::Play).pixmap(QSize(32, 32), 1.0).toImage();
    EXPECT_EQ(play.pixel(16, 16), qRgb(255, 255, 255));
    EXPECT_EQ(play.pixel(6, 16), qRgb(0x2e, 0xa0, 0x43));
}

TEST(IconsTest, OurPicturesAreDrawnAtDevicePixels)
{
    const QIcon icon = MakeIcon(IconId::Play);
    const QPixmap doubled = icon.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(doubled.size(), QSize(32, 32));
    EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
    // The same picture as one drawn for 32 pixels: not 16 pixels blown up.
    EXPECT_EQ(doubled.toImage().convertToFormat(QImage::Format_ARGB32),
              icon.pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(QImage::Format_ARGB32));
}

}  // namespace
}  // namespace lumetta
