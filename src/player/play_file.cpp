// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/play_file.h"

#include "player/player_window.h"
#include "player/screen_numbers.h"
#include "show/show_project.h"

#include <QGuiApplication>

#include <QFileInfo>

namespace lumetta {

int PlayProjectFile(const QString &path, std::FILE *errors, std::optional<int> screen)
{
    StreamDialogs dialogs(errors);
    QScreen *target = screen ? ScreenByNumber(*screen) : nullptr;
    if (screen && !target) {
        dialogs.ShowError(
            QStringLiteral("There is no screen %1 (screens are numbered from 0, the primary screen, to %2)")
                .arg(*screen)
                .arg(QGuiApplication::screens().size() - 1));
        return 1;
    }
    ShowProject project;
    if (project.OpenPath(QFileInfo(path).absoluteFilePath(), dialogs) != ShowProject::Outcome::Done)
        return 1;
    PlayerWindow show;
    show.SetScreen(target);
    switch (show.PlayNow(project)) {
    case PlayerWindow::StartResult::Started:
        show.WaitForMusicToFade();
        return 0;
    case PlayerWindow::StartResult::NoPictures:
        dialogs.ShowError(NoPicturesMessage(path));
        return 1;
    case PlayerWindow::StartResult::Failed:
        dialogs.ShowError(show.ErrorText());
        return 1;
    }
    return 1;
}

}  // namespace lumetta
