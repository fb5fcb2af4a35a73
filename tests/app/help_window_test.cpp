// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_window.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(HelpWindowTest, ShowsTheGuideWithItsPictures)
{
    HelpWindow window;
    ASSERT_TRUE(window.ShowGuide(QStringLiteral(LUMETTA_HELP_GUIDE)));
    const QString text = window.Browser()->toPlainText();
    EXPECT_TRUE(text.contains("Making a show, step by step")) << text.left(200).toStdString();
    EXPECT_EQ(window.windowTitle(), "Lumetta XP Help");
    // Every picture the guide shows is there to be shown.
    const QString html = window.Browser()->toHtml();
    int pictures = 0;
    for (qsizetype at = html.indexOf("<img src=\""); at >= 0; at = html.indexOf("<img src=\"", at + 1)) {
        const qsizetype start = at + 10;
        const QString name = html.mid(start, html.indexOf('"', start) - start);
        const QVariant image = window.Browser()->document()->resource(QTextDocument::ImageResource, QUrl(name));
        EXPECT_TRUE(image.isValid() && !image.value<QImage>().isNull()) << name.toStdString();
        ++pictures;
    }
    EXPECT_GE(pictures, 4);
}

TEST(HelpWindowTest, LinksWithinTheGuideStayInTheWindowAndEscapeCloses)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("guide.html");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body><p><a href=\"#end\">to the end</a></p><h2 id=\"end\">The end</h2></body></html>");
    file.close();
    HelpWindow window;
    ASSERT_TRUE(window.ShowGuide(path));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QUrl end = QUrl::fromLocalFile(path);
    end.setFragment("end");
    window.Browser()->setSource(end);
    EXPECT_EQ(window.Browser()->source().fragment(), "end");
    EXPECT_TRUE(window.Browser()->isBackwardAvailable());
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.Browser(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST(HelpWindowTest, AGuideThatCannotBeReadIsRefused)
{
    HelpWindow window;
    EXPECT_FALSE(window.ShowGuide(QStringLiteral("/nonexistent/Lumetta.html")));
}

TEST(HelpWindowTest, NoDesktopProgramForPagesWithoutAnyDefault)
{
    // A desktop with no applications and no choices made has nothing for HTML.
    QTemporaryDir empty;
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_DIRS", empty.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", empty.path().toLocal8Bit());
    EXPECT_FALSE(HelpWindow::DesktopOpensHtml());
    qputenv("XDG_DATA_DIRS", dataDirs);
    qputenv("XDG_DATA_HOME", dataHome);
}

}  // namespace
}  // namespace lumetta
