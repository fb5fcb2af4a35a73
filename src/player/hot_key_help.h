// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTextEdit;

namespace lumetta {

// The player's hot-key help: a small modal window listing the keys of a running show.
class HotKeyHelp : public QDialog
{
    Q_OBJECT

public:
    explicit HotKeyHelp(QWidget *parent = nullptr);

    // The fifteen lines the help shows first.
    static QStringList HotKeyLines();
    // The keys added for Linux keyboards and mice, listed after them.
    static QStringList MoreKeyLines();

    QLabel *Title() const { return title_; }
    QTextEdit *KeyList() const { return keyList_; }
    QPushButton *OkButton() const { return okButton_; }

signals:
    // The window has closed, by OK, Escape or its close button.
    void Closed();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FitToKeys();

    QLabel *title_;
    QTextEdit *keyList_;
    QPushButton *okButton_;
};

}  // namespace lumetta
