// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/input_file.h"

#include "show/project_file.h"

namespace lumetta {

namespace {

[[noreturn]] void Refuse(const QString &path, const QString &reason)
{
    throw ProjectError(CannotOpenFileMessage(path) + QLatin1String(": ") + reason);
}

}  // namespace

InputFile::InputFile(const QString &path, qint64 maxBytes) : path_(path), file_(path, maxBytes)
{
    if (!file_.IsOpen())
        Refuse(path, file_.ErrorString());
    left_ = file_.Size();
}

QByteArray InputFile::Read(qint64 maximum)
{
    const qint64 wanted = std::min(maximum, left_);
    if (wanted <= 0)
        return {};
    QByteArray bytes(wanted, Qt::Uninitialized);
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = Device().read(bytes.data() + got, wanted - got);
        if (n < 0)
            Refuse(path_, Device().errorString());
        if (n == 0)
            Refuse(path_, QStringLiteral("the file became shorter while it was read"));
        got += n;
    }
    left_ -= got;
    return bytes;
}

}  // namespace lumetta
