// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/about_dialog.h"

#include "common/licence.h"
#include "dialogs/icons.h"
#include "show/version.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumetta {

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About %1").arg(QLatin1String(kProgramName)));

    auto *picture = new QLabel(this);
    picture->setPixmap(MakeIcon(IconId::App).pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    auto *text = new QLabel(this);
    text->setObjectName(QStringLiteral("AboutText"));
    text->setTextFormat(Qt::RichText);
    text->setOpenExternalLinks(true);
    text->setWordWrap(true);
    text->setText(QStringLiteral("<h2>%1</h2><p>Version %2</p>"
                                 "<p>A slide-show maker: collect photos and pictures (JPEG, PNG, HEIC, WebP, GIF, BMP "
                                 "and more), choose how the show "
                                 "runs and which animated transitions it uses, add background music and play "
                                 "it full screen. Shows are saved as .zut projects and can be built into one "
                                 "self-running file or exported as videos.</p>"
                                 "<p><a href=\"%3\">%3</a></p>"
                                 "<p>%4.<br>Free software under the GNU General Public License, version 3 or "
                                 "later (%5): you may share and change it under its terms. It comes with NO "
                                 "WARRANTY. <a href=\"%6\">The licence</a></p>")
                      .arg(QLatin1String(kProgramName), QLatin1String(kProgramVersion), QLatin1String(kHomePage),
                           QString::fromUtf8(kCopyrightLine).replace(QLatin1String("(C)"), QStringLiteral("\u00A9")),
                           QLatin1String(kLicenceId), QLatin1String(kLicenceUrl)));
    text->setMinimumWidth(320);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *row = new QHBoxLayout;
    row->addWidget(picture);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace lumetta
