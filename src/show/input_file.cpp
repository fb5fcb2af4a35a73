// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/input_file.h"

#include "show/project_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetta {

namespace {

[[noreturn]] void Refuse(const QString &path, const QString &reason)
{
    throw ProjectError(CannotOpenFileMessage(path) + QLatin1String(": ") + reason);
}

QString SystemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

InputFile::InputFile(const QString &path, qint64 maxBytes) : path_(path)
{
    // Without O_NONBLOCK, opening a pipe waits until something writes to it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        Refuse(path, SystemReason());
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        const QString reason = SystemReason();
        ::close(fd);
        Refuse(path, reason);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        Refuse(path,
               S_ISDIR(info.st_mode) ? QStringLiteral("it is a folder") : QStringLiteral("it is not a regular file"));
    }
    if (info.st_size > maxBytes) {
        ::close(fd);
        Refuse(path,
               QStringLiteral("the file is too large (%1 bytes, at most %2)").arg(qint64(info.st_size)).arg(maxBytes));
    }
    if (!file_.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        Refuse(path, file_.errorString());
    }
    size_ = left_ = info.st_size;
}

QByteArray InputFile::Read(qint64 maximum)
{
    const qint64 wanted = std::min(maximum, left_);
    if (wanted <= 0)
        return {};
    QByteArray bytes(wanted, Qt::Uninitialized);
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = file_.read(bytes.data() + got, wanted - got);
        if (n < 0)
            Refuse(path_, file_.errorString());
        if (n == 0)
            Refuse(path_, QStringLiteral("the file became shorter while it was read"));
        got += n;
    }
    left_ -= got;
    return bytes;
}

}  // namespace lumetta
