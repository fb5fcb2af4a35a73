// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/unpack_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <limits>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetta {

namespace {

const QLatin1String kPrefix("Lumetta-");

QString TempPathOr(const QString &tempPath)
{
    return tempPath.isEmpty() ? QDir::tempPath() : tempPath;
}

bool ProcessRuns(qint64 pid)
{
    // A process of another user answers EPERM: it runs all the same.
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

UnpackFolder::UnpackFolder(const QString &tempPath)
    : dir_(TempPathOr(tempPath) + u'/' + kPrefix + QString::number(QCoreApplication::applicationPid())
           + QLatin1String("-XXXXXX"))
{
}

int UnpackFolder::RemoveStale(const QString &tempPath)
{
    static const QRegularExpression kName(QStringLiteral("^Lumetta-([0-9]{1,10})-[A-Za-z0-9]{6}$"));
    const QDir temp(TempPathOr(tempPath));
    int removed = 0;
    for (const QFileInfo &entry :
         temp.entryInfoList({kPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = kName.match(entry.fileName());
        if (!match.hasMatch() || entry.isSymLink())
            continue;
        struct stat info = {};
        if (::lstat(QFile::encodeName(entry.filePath()).constData(), &info) != 0 || !S_ISDIR(info.st_mode)
            || info.st_uid != ::getuid())
            continue;
        if (ProcessRuns(match.captured(1).toLongLong()))
            continue;
        if (QDir(entry.filePath()).removeRecursively())
            ++removed;
    }
    return removed;
}

}  // namespace lumetta
