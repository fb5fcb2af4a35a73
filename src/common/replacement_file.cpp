// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/replacement_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace lumetta {

namespace {

QString SystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Renames FROM to TO unless TO exists, in one step where the file system can.
bool RenameUnlessExists(const char *from, const char *to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return true;
    // Some file systems take no flags; a hard link fails on an existing name too.
    if (errno != EINVAL)
        return false;
    return ::link(from, to) == 0 && ::unlink(from) == 0;
}

}  // namespace

ReplacementFile::ReplacementFile(const QString &target) : target_(target)
{
}

ReplacementFile::~ReplacementFile()
{
    if (!committed_ && !path_.isEmpty())
        QFile::remove(path_);
}

bool ReplacementFile::Create()
{
    const QFileInfo target(target_);
    for (int attempt = 0; path_.isEmpty(); ++attempt) {
        const QString candidate =
            target.absolutePath() + QLatin1String("/.") + target.fileName()
            + QStringLiteral(".part-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const int fd = ::open(QFile::encodeName(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            path_ = candidate;
        } else if (errno != EEXIST || attempt > 100) {
            error_ = SystemError();
            return false;
        }
    }
    return true;
}

bool ReplacementFile::Commit(Existing existing)
{
    const QByteArray from = QFile::encodeName(path_);
    const QByteArray to = QFile::encodeName(target_);
    const bool renamed = existing == Existing::Replace ? std::rename(from.constData(), to.constData()) == 0
                                                       : RenameUnlessExists(from.constData(), to.constData());
    if (!renamed) {
        error_ = SystemError();
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace lumetta
