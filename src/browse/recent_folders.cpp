// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/recent_folders.h"

#include <QDir>
#include <QMenu>

namespace lumetta {

void RecentFolders::Load(const QStringList &lines)
{
    menuEntries_ = {QStringLiteral("Empty")};
    menuOpensFolders_ = false;
    if (lines.isEmpty() || lines.first() == QLatin1String("Empty")) {
        folders_.clear();
        return;
    }
    folders_ = lines.size() > 4 ? lines.mid(lines.size() - 5) : lines;
    if (folders_.first() == QLatin1String("Clear"))
        return;
    menuEntries_ = folders_;
    menuOpensFolders_ = true;
}

bool RecentFolders::Add(const QString &folder)
{
    if (folders_.contains(folder))
        return false;
    folders_.append(folder);
    return true;
}

void RecentFolders::FillMenu(QMenu *menu, const std::function<void(const QString &)> &open) const
{
    menu->clear();
    for (const QString &entry : menuEntries_) {
        QAction *action = menu->addAction(QString(entry).replace(QLatin1Char('&'), QLatin1String("&&")));
        action->setEnabled(menuOpensFolders_);
        if (menuOpensFolders_)
            QObject::connect(action, &QAction::triggered, menu, [open, entry] { open(entry); });
    }
}

QString StartFolder(const QStringList &lines)
{
    const QString first = lines.value(0);
    if (first.isEmpty() || first.compare(QLatin1String("c:\\"), Qt::CaseInsensitive) == 0)
        return QDir::homePath() + QLatin1Char('/');
    return first;
}

}  // namespace lumetta
