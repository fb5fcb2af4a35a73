// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextBrowser;

namespace lumetta {

// The user guide in a window of the program, for desktops with no program for HTML pages.
// Links within the guide stay in the window; web and mail links go to the desktop.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the guide at PATH from its start; false when it cannot be read.
    bool ShowGuide(const QString &path);

    // Whether the desktop has a program set up for HTML pages.
    static bool DesktopOpensHtml();

    QTextBrowser *Browser() const { return browser_; }

private:
    QTextBrowser *browser_;
};

}  // namespace lumetta
