// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lumetta {

// Where the program's companion files are: beside the program in a build tree, or in the
// installed folders found relative to the program's folder (so any install prefix works).
class InstalledFiles
{
public:
    // PROGRAMFOLDER is the folder of the running executable.
    explicit InstalledFiles(QString programFolder);
    static InstalledFiles ForThisProgram();

    // The standalone player "AEXE.tms": beside the program, else in the private program folder.
    QString StandalonePlayer() const;
    // The HTML user guide.
    QString HelpGuide() const;
    // The folder of the guide's pictures.
    QString HelpFolder() const;
    // The demo project.
    QString DemoShow() const;

private:
    // The first existing of FOLDER/NAME for the candidate folders; the last candidate's path
    // when none exists, so a message can name where the file belongs.
    QString Find(const QStringList &folders, const QString &name) const;
    QString DataFolder() const;

    QString programFolder_;
};

}  // namespace lumetta
