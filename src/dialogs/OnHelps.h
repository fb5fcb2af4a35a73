#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTextEdit;

namespace lumetta {

// The player's hot-key help: a small modal window listing the keys of a running show.
class TOnHelper : public QDialog
{
    Q_OBJECT

public:
    explicit TOnHelper(QWidget *parent = nullptr);

    // The fifteen lines the help shows.
    static QStringList HotKeyLines();

    QLabel *Label1;
    QTextEdit *RichEdit1;
    QPushButton *Button1;

signals:
    // The window has closed, by OK, Escape or its close button.
    void FormClose();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
};

}  // namespace lumetta
