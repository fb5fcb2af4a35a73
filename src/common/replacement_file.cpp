// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/replacement_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

QString PartPrefix(const QFileInfo &target)
{
    return QLatin1String(".") + target.fileName() + QLatin1String(".part-");
}

}  // namespace

ReplacementFile::ReplacementFile(const QString &target) : target_(target)
{
}

ReplacementFile::~ReplacementFile()
{
    if (!committed_ && !path_.isEmpty())
        QFile::remove(path_);
    Unlock();
}

std::optional<QString> ReplacementFile::TargetProblem(const QString &target)
{
    struct stat info = {};
    // A dangling link is no file yet: the writer replaces the link.
    if (::stat(QFile::encodeName(target).constData(), &info) != 0)
        return std::nullopt;
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("it is a folder");
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("it is not a regular file");
    // A file nobody may write was made read-only on purpose (root too, whom access() lets write
    // anything); a file only others may write is the folder's business.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return QStringLiteral("it is read-only");
    return std::nullopt;
}

void ReplacementFile::RemoveLeftovers() const
{
    const QFileInfo target(target_);
    const QString prefix = PartPrefix(target);
    static const QRegularExpression kSuffix(QStringLiteral("^[0-9a-f]{8}$"));
    const QStringList names = QDir(target.absolutePath())
                                  .entryList({QStringLiteral(".*.part-*")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (!name.startsWith(prefix) || !kSuffix.match(QStringView(name).mid(prefix.size())).hasMatch())
            continue;
        const QByteArray path = QFile::encodeName(target.absolutePath() + QLatin1Char('/') + name);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat info = {};
        // A writer that is still at work holds its file locked; only our own regular files go.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}

bool ReplacementFile::Create()
{
    if (const std::optional<QString> problem = TargetProblem(target_)) {
        error_ = *problem;
        return false;
    }
    RemoveLeftovers();
    const QFileInfo target(target_);
    for (int attempt = 0; path_.isEmpty(); ++attempt) {
        const QString candidate =
            target.absolutePath() + QLatin1Char('/') + PartPrefix(target)
            + QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const int fd = ::open(QFile::encodeName(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);
            lock_ = fd;
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
    if (const std::optional<QString> problem = TargetProblem(target_)) {
        error_ = *problem;
        return false;
    }
    const QByteArray from = QFile::encodeName(path_);
    const QByteArray to = QFile::encodeName(target_);
    const bool renamed = existing == Existing::Replace ? std::rename(from.constData(), to.constData()) == 0
                                                       : RenameUnlessExists(from.constData(), to.constData());
    if (!renamed) {
        error_ = SystemError();
        return false;
    }
    committed_ = true;
    Unlock();
    return true;
}

void ReplacementFile::Unlock()
{
    if (lock_ >= 0)
        ::close(lock_);
    lock_ = -1;
}

}  // namespace lumetta
