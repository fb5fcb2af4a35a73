// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/installed_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace lumetta {

InstalledFiles::InstalledFiles(QString programFolder) : programFolder_(std::move(programFolder))
{
}

InstalledFiles InstalledFiles::ForThisProgram()
{
    return InstalledFiles(QCoreApplication::applicationDirPath());
}

QString InstalledFiles::Find(const QStringList &folders, const QString &name) const
{
    for (const QString &folder : folders) {
        const QString path = QDir::cleanPath(folder + u'/' + name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QDir::cleanPath(folders.last() + u'/' + name);
}

QString InstalledFiles::DataFolder() const
{
    return QDir::cleanPath(programFolder_ + QLatin1String("/" LUMETTA_DATA_FROM_BIN));
}

QString InstalledFiles::StandalonePlayer() const
{
    return Find({programFolder_, programFolder_ + QLatin1String("/" LUMETTA_LIBEXEC_FROM_BIN)},
                QStringLiteral("AEXE.tms"));
}

QString InstalledFiles::HelpGuide() const
{
    return Find({DataFolder()}, QStringLiteral("Lumetta.html"));
}

QString InstalledFiles::HelpFolder() const
{
    return QFileInfo(HelpGuide()).absolutePath();
}

QString InstalledFiles::DemoShow() const
{
    return Find({DataFolder() + QLatin1String("/demo")}, QStringLiteral("demo.zut"));
}

}  // namespace lumetta
