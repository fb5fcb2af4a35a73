#include "player/play_file.h"

#include "show/show_project.h"
#include "player/player_window.h"

#include <QFileInfo>

namespace lumetta {

int PlayProjectFile(const QString &path, std::FILE *errors)
{
    StreamDialogs dialogs(errors);
    ShowProject project;
    if (project.OpenPath(QFileInfo(path).absoluteFilePath(), dialogs) != ShowProject::Outcome::Done)
        return 1;
    PlayerWindow show;
    switch (show.PlayNow(project)) {
    case PlayerWindow::StartResult::Started:
        show.WaitForMusicToFade();
        return 0;
    case PlayerWindow::StartResult::NoPictures:
        dialogs.ShowError(QStringLiteral("%1 holds no pictures to show").arg(path));
        return 1;
    case PlayerWindow::StartResult::Failed:
        dialogs.ShowError(show.ErrorText());
        return 1;
    }
    return 1;
}

}  // namespace lumetta
