// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/dialog_questions.h"

#include "dialogs/options_values.h"
#include "show/version.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace lumetta {

std::optional<ColorRef> WidgetQuestions::AskColor(ColorRef initial)
{
    const QColor chosen = QColorDialog::getColor(ResolveColor(initial), parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return ColorRef(chosen.red()) | ColorRef(chosen.green()) << 8 | ColorRef(chosen.blue()) << 16;
}

std::optional<QString> WidgetQuestions::AskMusicFile()
{
    const QString path = QFileDialog::getOpenFileName(parent_, QString(), musicFolder_, SoundFileFilter());
    if (path.isEmpty())
        return std::nullopt;
    musicFolder_ = QFileInfo(path).absolutePath();
    return QFileInfo(path).absoluteFilePath();
}

std::optional<QString> WidgetQuestions::AskBackgroundFile(const QString &folder)
{
    const QString path = QFileDialog::getOpenFileName(parent_, QString(), folder, GraphicFileFilter());
    if (path.isEmpty())
        return std::nullopt;
    return QFileInfo(path).absoluteFilePath();
}

void WidgetQuestions::ShowMessage(const QString &text)
{
    QMessageBox::information(parent_, QString::fromLatin1(kProgramName), text);
}

bool AskReplaceFile(QWidget *window, const QString &path)
{
    return QMessageBox::question(window, QStringLiteral("Confirm"),
                                 QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

std::optional<QString> AskSaveFileName(QWidget *window, const QString &title, const QString &current,
                                       const QString &filter)
{
    const QString path =
        QFileDialog::getSaveFileName(window, title, current, filter, nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void ShowErrorBox(QWidget *window, const QString &message)
{
    QMessageBox::critical(window, QLatin1String(kProgramName), message);
}

}  // namespace lumetta
