#include "dialogs/OnHelps.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

namespace lumetta {

QStringList TOnHelper::HotKeyLines()
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

TOnHelper::TOnHelper(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OnHelper"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Help about hot keys:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, palette().color(QPalette::Active, QPalette::Highlight));
    Label1->setPalette(labelPalette);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setPlainText(HotKeyLines().join(QLatin1Char('\n')));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(RichEdit1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    setFixedSize(300, 320);
}

void TOnHelper::done(int result)
{
    QDialog::done(result);
    emit FormClose();
}

void TOnHelper::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TOnHelper::showEvent(QShowEvent *event)
{
    // Centred on the screen, not on the full-screen player that opens it.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace lumetta
