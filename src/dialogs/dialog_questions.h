// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/show_settings.h"

#include <QString>

#include <optional>

class QWidget;

namespace lumetta {

// The questions the setting dialogs put to the user; the dialogs use real ones, tests answer
// directly.
class DialogQuestions
{
public:
    virtual ~DialogQuestions() = default;
    // The colour dialog opened with INITIAL; nullopt when cancelled.
    virtual std::optional<ColorRef> AskColor(ColorRef initial) = 0;
    // A music file for the playlist; nullopt when cancelled.
    virtual std::optional<QString> AskMusicFile() = 0;
    // A background picture, the dialog starting in FOLDER; nullopt when cancelled.
    virtual std::optional<QString> AskBackgroundFile(const QString &folder) = 0;
    virtual void ShowMessage(const QString &text) = 0;
};

// The desktop's own dialogs, centred over PARENT.
class WidgetQuestions : public DialogQuestions
{
public:
    explicit WidgetQuestions(QWidget *parent) : parent_(parent) {}

    std::optional<ColorRef> AskColor(ColorRef initial) override;
    std::optional<QString> AskMusicFile() override;
    std::optional<QString> AskBackgroundFile(const QString &folder) override;
    void ShowMessage(const QString &text) override;

private:
    QWidget *parent_;
    QString musicFolder_;
};

// The desktop's question before a file is replaced: true when the user answers Yes.
bool AskReplaceFile(QWidget *window, const QString &path);

// The desktop's save dialog titled TITLE, starting at CURRENT and offering FILTER, which leaves
// the replace question to the caller; nullopt when cancelled.
std::optional<QString> AskSaveFileName(QWidget *window, const QString &title, const QString &current,
                                       const QString &filter);

// An error in a message box titled with the program's name.
void ShowErrorBox(QWidget *window, const QString &message);

}  // namespace lumetta
