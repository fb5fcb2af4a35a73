// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/regular_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetta {

namespace {

QString SystemReason(int error)
{
    if (error == ENOENT)
        return QStringLiteral("the file does not exist");
    return QString::fromLocal8Bit(std::strerror(error));
}

// What a file that is not a regular one is, in words a user knows.
QString KindReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a pipe, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file");
    return QStringLiteral("it is not a regular file");
}

}  // namespace

RegularFile::RegularFile(const QString &path, qint64 maxBytes)
{
    if (path.isEmpty()) {
        error_ = QStringLiteral("the file name is empty");
        return;
    }
    // Without O_NONBLOCK, opening a pipe waits until something writes to it; O_NOCTTY keeps a
    // terminal from becoming ours.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        // A socket cannot be opened at all; saying what it is beats "No such device or address".
        const int error = errno;
        struct stat info = {};
        const bool special = ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode);
        error_ = special ? KindReason(info.st_mode) : SystemReason(error);
        return;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        error_ = SystemReason(errno);
    else if (!S_ISREG(info.st_mode))
        error_ = KindReason(info.st_mode);
    else if (info.st_size > maxBytes)
        error_ = QStringLiteral("the file is too large (%1 bytes, at most %2)").arg(qint64(info.st_size)).arg(maxBytes);
    else if (!file_.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        error_ = file_.errorString();
    else
        size_ = info.st_size;
    if (!file_.isOpen())
        ::close(fd);
}

QString RegularFile::Problem(const QString &path)
{
    return RegularFile(path).ErrorString();
}

QString RegularFile::ShownName(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("\"\"") : path;
}

}  // namespace lumetta
