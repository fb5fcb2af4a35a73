#include "player/play_file.h"

#include "app/show_project.h"
#include "player/Sliders.h"

#include <QFileInfo>

namespace lumetta {

namespace {

// Nothing is asked of a user here; errors go to the stream.
class StreamDialogs : public ProjectDialogs
{
public:
    explicit StreamDialogs(std::FILE *errors) : errors_(errors) {}
    std::optional<QString> AskOpenPath() override { return std::nullopt; }
    std::optional<QString> AskSaveName() override { return std::nullopt; }
    Answer AskSaveProject() override { return Answer::No; }
    void ShowError(const QString &message) override { Print(message); }
    void Print(const QString &message) const { std::fprintf(errors_, "lumetta: %s\n", qPrintable(message)); }

private:
    std::FILE *errors_;
};

}  // namespace

int PlayProjectFile(const QString &path, std::FILE *errors)
{
    StreamDialogs dialogs(errors);
    ShowProject project;
    if (project.OpenPath(QFileInfo(path).absoluteFilePath(), dialogs) != ShowProject::Outcome::Done)
        return 1;
    TSShow show;
    switch (show.PlayNow(project)) {
    case TSShow::StartResult::Started:
        return 0;
    case TSShow::StartResult::NoPictures:
        dialogs.Print(QStringLiteral("%1 holds no pictures to show").arg(path));
        return 1;
    case TSShow::StartResult::Failed:
        dialogs.Print(show.ErrorText());
        return 1;
    }
    return 1;
}

}  // namespace lumetta
