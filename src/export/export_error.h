// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

namespace lumetta {

// A failure of a video export, with the text the user reads (naming the file and the reason).
class ExportError : public std::runtime_error
{
public:
    explicit ExportError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString &Message() const { return message_; }

private:
    QString message_;
};

}  // namespace lumetta
