// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_recent_files.h"

#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

const QString kType = QStringLiteral("application/x-lumetta-show");

class DesktopRecentFilesTest : public ::testing::Test
{
protected:
    QString ListPath() const { return dir_.filePath("share/recently-used.xbel"); }

    QDomDocument Read() const
    {
        QFile file(ListPath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QDomDocument document;
        // With namespaces resolved, as GLib's reader sees the file.
        EXPECT_TRUE(document.setContent(&file, true));
        return document;
    }

    QList<QDomElement> Bookmarks() const
    {
        QList<QDomElement> found;
        const QDomNodeList nodes = Read().documentElement().elementsByTagName("bookmark");
        for (int i = 0; i < nodes.size(); ++i)
            found << nodes.at(i).toElement();
        return found;
    }

    static QDomElement Only(const QDomElement &parent, const QString &ns, const QString &name)
    {
        const QDomNodeList nodes = parent.elementsByTagNameNS(ns, name);
        EXPECT_EQ(nodes.size(), 1) << name.toStdString();
        return nodes.item(0).toElement();
    }

    QTemporaryDir dir_;
    const QDateTime first_ = QDateTime(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC);
};

const QString kBookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

TEST_F(DesktopRecentFilesTest, ANewListNamesTheProjectItsTypeAndLumetta)
{
    DesktopRecentFiles list(ListPath());
    ASSERT_TRUE(list.Add("/home/ann/My shows/été.zut", kType, first_)) << list.ErrorText().toStdString();
    const QList<QDomElement> bookmarks = Bookmarks();
    ASSERT_EQ(bookmarks.size(), 1);
    const QDomElement bookmark = bookmarks[0];
    EXPECT_EQ(bookmark.attribute("href"), "file:///home/ann/My%20shows/%C3%A9t%C3%A9.zut");
    for (const char *time : {"added", "modified", "visited"})
        EXPECT_EQ(bookmark.attribute(time), "2024-06-01T12:00:00.000Z") << time;
    EXPECT_EQ(Only(bookmark, kMimeNs, "mime-type").attribute("type"), kType);
    const QDomElement application = Only(bookmark, kBookmarkNs, "application");
    EXPECT_EQ(application.attribute("name"), "Lumetta");
    EXPECT_EQ(application.attribute("exec"), "'lumetta %u'");
    EXPECT_EQ(application.attribute("count"), "1");
}

TEST_F(DesktopRecentFilesTest, OtherProgramsEntriesStayAndAUsedProjectIsCountedOnce)
{
    QDir().mkpath(dir_.filePath("share"));
    QFile file(ListPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<xbel version=\"1.0\" xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
               "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <bookmark href=\"file:///home/ann/letter.odt\" added=\"2023-01-01T00:00:00Z\" "
               "modified=\"2023-01-01T00:00:00Z\" visited=\"2023-01-01T00:00:00Z\">\n"
               "    <info><metadata owner=\"http://freedesktop.org\"><mime:mime-type type=\"text/plain\"/>"
               "<bookmark:applications><bookmark:application name=\"Writer\" exec=\"'writer %u'\" "
               "modified=\"2023-01-01T00:00:00Z\" count=\"4\"/></bookmark:applications></metadata></info>\n"
               "  </bookmark>\n"
               "</xbel>\n");
    file.close();

    DesktopRecentFiles list(ListPath());
    ASSERT_TRUE(list.Add("/home/ann/trip.zut", kType, first_));
    ASSERT_TRUE(list.Add("/home/ann/trip.zut", kType, first_.addDays(1)));
    const QList<QDomElement> bookmarks = Bookmarks();
    ASSERT_EQ(bookmarks.size(), 2);
    const QDomElement other = bookmarks[0];
    EXPECT_EQ(other.attribute("href"), "file:///home/ann/letter.odt");
    EXPECT_EQ(other.attribute("modified"), "2023-01-01T00:00:00Z");
    EXPECT_EQ(Only(other, kBookmarkNs, "application").attribute("count"), "4");
    const QDomElement ours = bookmarks[1];
    EXPECT_EQ(ours.attribute("href"), "file:///home/ann/trip.zut");
    EXPECT_EQ(ours.attribute("added"), "2024-06-01T12:00:00.000Z");
    EXPECT_EQ(ours.attribute("modified"), "2024-06-02T12:00:00.000Z");
    EXPECT_EQ(Only(ours, kBookmarkNs, "application").attribute("count"), "2");
}

TEST_F(DesktopRecentFilesTest, AListThatCannotBeReadIsLeftAsItIs)
{
    const QByteArray broken = "<xbel version=\"1.0\"><bookmark href=";
    QDir().mkpath(dir_.filePath("share"));
    QFile file(ListPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(broken);
    file.close();
    DesktopRecentFiles list(ListPath());
    EXPECT_FALSE(list.Add("/home/ann/trip.zut", kType, first_));
    EXPECT_TRUE(list.ErrorText().contains("is not a list of recent files")) << list.ErrorText().toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken);
}

TEST_F(DesktopRecentFilesTest, TheDefaultListIsInTheDataHome)
{
    EXPECT_EQ(DesktopRecentFiles::DefaultPath(), qEnvironmentVariable("XDG_DATA_HOME") + "/recently-used.xbel");
}

}  // namespace
}  // namespace lumetta
