// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/hot_key_help.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace lumetta {

namespace {

// The text cursor of a read-only list still takes its place after the widest line.
constexpr int kCursorRoom = 4;

}  // namespace

QStringList HotKeyHelp::HotKeyLines()
{
    return {
        QStringLiteral("<F1>"),
        QStringLiteral("This help message"),
        QString(),
        QStringLiteral("<Enter> or Left mouse click"),
        QStringLiteral("Go to the next slide"),
        QString(),
        QStringLiteral("<Backspace> or <Left> button"),
        QStringLiteral("Go to the previous slide"),
        QString(),
        QStringLiteral("<Ctrl>"),
        QStringLiteral("Pause / Resume"),
        QString(),
        QStringLiteral("<Esc>"),
        QStringLiteral("Exit presentation"),
        QStringLiteral(" "),
    };
}

QStringList HotKeyHelp::MoreKeyLines()
{
    // One line each, so the whole list fits a small screen at twice the scale.
    return {
        QStringLiteral("<Right>, <Space>, <Page Down>, wheel down: next slide"),
        QStringLiteral("<Page Up>, wheel up: previous slide"),
        QStringLiteral("<Home> / <End>: first / last slide"),
    };
}

HotKeyHelp::HotKeyHelp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OnHelper"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    title_ = new QLabel(QStringLiteral("Help about hot keys:"), this);
    title_->setObjectName(QStringLiteral("Label1"));
    // Bold in the text colour: the highlight colour can be pale on the window's background.
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    title_->setFont(titleFont);

    keyList_ = new QTextEdit(this);
    keyList_->setObjectName(QStringLiteral("RichEdit1"));
    keyList_->setReadOnly(true);
    keyList_->setLineWrapMode(QTextEdit::NoWrap);
    // Sized to its text (FitToKeys): scroll bars would only take the room the text needs.
    keyList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    keyList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    keyList_->setPlainText((HotKeyLines() + MoreKeyLines()).join(QLatin1Char('\n')));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(keyList_);
    layout->addWidget(okButton_, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void HotKeyHelp::FitToKeys()
{
    // The list as large as its text laid out in the font it shows, so no key hides behind a
    // scroll bar.
    keyList_->ensurePolished();
    QTextDocument text;
    text.setDefaultFont(keyList_->font());
    text.setDocumentMargin(keyList_->document()->documentMargin());
    text.setPlainText(keyList_->toPlainText());
    const QSize needed = text.size().toSize() + QSize(1, 1);
    const QSize chrome = keyList_->size() - keyList_->maximumViewportSize();
    keyList_->setMinimumSize(needed + chrome + QSize(kCursorRoom, 0));
}

void HotKeyHelp::done(int result)
{
    QDialog::done(result);
    emit Closed();
}

void HotKeyHelp::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void HotKeyHelp::showEvent(QShowEvent *event)
{
    FitToKeys();
    adjustSize();
    // Centred on the screen of the full-screen player that opens it.
    if (const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace lumetta
