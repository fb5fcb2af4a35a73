// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_window.h"

#include "show/version.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QProcess>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace lumetta {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("%1 Help").arg(QLatin1String(kProgramName)));
    resize(820, 680);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

bool HelpWindow::ShowGuide(const QString &path)
{
    if (!QFileInfo(path).isReadable())
        return false;
    browser_->setSearchPaths({QFileInfo(path).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(path));
    return !browser_->toPlainText().isEmpty();
}

bool HelpWindow::DesktopOpensHtml()
{
    // xdg-open hands a page to the desktop and reports success even when nothing can show it;
    // the desktop's default for HTML tells whether anything will.
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return false;
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitCode() == 0 && !process.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace lumetta
