// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace lumetta {

// The questions the video export dialog asks; the dialog shows real ones, tests answer directly.
class ExportVideoQuestions
{
public:
    virtual ~ExportVideoQuestions() = default;
    // The save dialog for a video, starting at `current`, offering `filter`; nullopt when cancelled.
    virtual std::optional<QString> AskTarget(const QString &current, const QString &filter) = 0;
    // "PATH already exists. Do you want to replace it?"
    virtual bool AskReplace(const QString &path) = 0;
    virtual void ShowError(const QString &message) = 0;
};

}  // namespace lumetta
