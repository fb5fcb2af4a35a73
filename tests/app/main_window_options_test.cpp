// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "browse/file_list_view.h"
#include "dialogs/effect_selection_dialog.h"
#include "dialogs/options_dialog.h"
#include "player/player_window.h"
#include "player/screen_numbers.h"
#include "show/play_preferences.h"
#include "show/project_file.h"
#include "support/qstring_print.h"
#include "support/scripted_dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace lumetta {
namespace {

class MainWindowOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lists = std::make_unique<ListFiles>(dir.filePath("config"));
        form = std::make_unique<MainWindow>(*lists, &dialogs);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->OnActivated();
    }

    // Runs COMMAND, which opens a modal dialog; WHILE_OPEN sees the dialog and closes it.
    void WithModal(const std::function<void()> &command, const std::function<void(QWidget *)> &whileOpen)
    {
        bool seen = false;
        QTimer::singleShot(0, form.get(), [&] {
            QWidget *modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            seen = true;
            whileOpen(modal);
        });
        command();
        EXPECT_TRUE(seen);
    }

    static void Press(QWidget *dialog, const char *button)
    {
        auto *widget = dialog->findChild<QAbstractButton *>(QLatin1String(button));
        ASSERT_NE(widget, nullptr) << button;
        QTest::mouseClick(widget, Qt::LeftButton, {},
                          qobject_cast<QRadioButton *>(widget) ? QPoint(6, widget->height() / 2)
                                                               : widget->rect().center());
    }

    static int Page(QWidget *dialog) { return dialog->findChild<QTabWidget *>("PageControl1")->currentIndex(); }

    QTemporaryDir dir;
    std::unique_ptr<ListFiles> lists;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> form;
};

TEST_F(MainWindowOptionsTest, OptionsCommandsOpenTheirPageAndACancelChangesNothing)
{
    const struct
    {
        std::function<void()> command;
        int page;
    } cases[] = {
        {[&] { form->findChild<QAction *>("OptionsItem")->trigger(); }, 0},
        {[&] { form->findChild<QAction *>("AddMusicItem")->trigger(); }, 1},
        {[&] { QTest::mouseClick(form->findChild<QToolButton *>("OptionsButton"), Qt::LeftButton); }, 0},
    };
    for (const auto &c : cases) {
        form->Project().SetModified(false);
        const QStringList before = form->Project().Settings().Lines();
        WithModal(c.command, [&](QWidget *dialog) {
            EXPECT_EQ(dialog, form->Options());
            EXPECT_EQ(Page(dialog), c.page);
            Press(dialog, "BitBtn2");
        });
        EXPECT_FALSE(form->Project().Modified());
        EXPECT_FALSE(form->Editor().History().canUndo());
        EXPECT_EQ(form->Project().Settings().Lines(), before);
    }
}

TEST_F(MainWindowOptionsTest, OkWritesTheProjectSettingsAndTheBrowserMask)
{
    WithModal([&] { form->ShowOptions(); },
              [&](QWidget *dialog) {
                  Press(dialog, "RadioButton2");
                  auto *filter = dialog->findChild<QComboBox *>("FilterComboBox2");
                  filter->setCurrentIndex(filter->count() - 1);  // "Gif"
                  Press(dialog, "BitBtn1");
              });
    EXPECT_EQ(form->Project().Settings().Get(ShowSettings::kAdvance), "Manual");
    EXPECT_EQ(form->FileList()->Mask(), "*.gif");
    EXPECT_TRUE(form->Project().Modified());
    EXPECT_TRUE(form->windowTitle().endsWith(" *")) << form->windowTitle().toStdString();

    // Undone, the settings are what they were and the project is unmodified again.
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->Project().Settings().Get(ShowSettings::kAdvance), "2");
    EXPECT_FALSE(form->Project().Modified());
    EXPECT_EQ(form->windowTitle(), "Lumetta XP 3.51");
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->Project().Settings().Get(ShowSettings::kAdvance), "Manual");
    EXPECT_TRUE(form->Project().Modified());
}

TEST_F(MainWindowOptionsTest, OkWithoutAChangeLeavesTheProjectUnmodified)
{
    WithModal([&] { form->ShowOptions(); }, [&](QWidget *dialog) { Press(dialog, "BitBtn1"); });
    EXPECT_FALSE(form->Project().Modified());
    EXPECT_FALSE(form->Editor().History().canUndo());
}

TEST_F(MainWindowOptionsTest, ACancelledSetDefaultsIsOneUndoableChange)
{
    // "Set Defaults" writes at once, so even a Cancel afterwards leaves a change to undo.
    const QStringList settings = form->Project().Settings().Lines();
    form->Project().EffectSelection() = QStringList{"0"};
    WithModal([&] { form->ShowOptions(); },
              [&](QWidget *dialog) {
                  Press(dialog, "BitBtn3");
                  Press(dialog, "BitBtn2");
              });
    ASSERT_TRUE(form->Project().Modified());
    form->Editor().History().undo();
    EXPECT_EQ(form->Project().Settings().Lines(), settings);
    EXPECT_EQ(form->Project().EffectSelection(), QStringList{"0"});
    EXPECT_FALSE(form->Project().Modified());
}

TEST_F(MainWindowOptionsTest, TheEffectDialogShowsTheOpenedProjectsSelection)
{
    EXPECT_EQ(form->Project().EffectSelection(), ShowProject::StandardEffects());
    const QString path = dir.filePath("show.zut");
    WriteTextFile(path, BuildProjectText(ShowSettings(), {"/pictures/a.jpg"}, {"20", "3"}, {}));
    dialogs.openAnswers = {path};
    form->OpenProject();
    ASSERT_EQ(form->Project().EffectSelection(), (QStringList{"20", "3"}));

    QStringList checked;
    WithModal([&] { form->EffectSelection()->exec(); },
              [&](QWidget *dialog) {
                  auto *list = dialog->findChild<QListWidget *>("CheckListBox1");
                  for (int row = 0; row < list->count(); ++row)
                      if (list->item(row)->checkState() == Qt::Checked)
                          checked << QString::number(row);
                  Press(dialog, "Button2");
              });
    EXPECT_EQ(checked, (QStringList{"3", "20"}));
    EXPECT_EQ(form->Project().EffectSelection(), (QStringList{"3", "20"}));
}

TEST_F(MainWindowOptionsTest, SetDefaultsResetsTheProjectsEffectSelection)
{
    form->Project().EffectSelection() = QStringList{"0"};
    WithModal([&] { form->ShowOptions(); },
              [&](QWidget *dialog) {
                  Press(dialog, "BitBtn3");
                  Press(dialog, "BitBtn2");
              });
    EXPECT_EQ(form->Project().EffectSelection(), ShowProject::StandardEffects());
    EXPECT_EQ(form->Project().Settings().Lines(), ShowSettings::DefaultLines(ShowSettings::Defaults::Dialog));
}

// Run with two screens (tests/player/two_screens.json) as well: the chosen screen when connected.
TEST_F(MainWindowOptionsTest, PlayNowPlaysOnTheScreenChosenInTheOptions)
{
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(dir.filePath("a.bmp")));
    form->Project().Pictures() = {dir.filePath("a.bmp")};
    QScreen *other = QGuiApplication::screens().last();
    if (QGuiApplication::screens().size() > 1)
        ASSERT_NE(other, form->screen());
    const struct
    {
        const char *name;
        QString chosen;
        QScreen *expected;
    } cases[] = {
        {"the main window's screen", QString(), form->screen()},
        {"a screen that is not connected", QStringLiteral("Projector-7"), form->screen()},
        {"the chosen screen", ScreenChoiceName(other), other},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PlayPreferences(lists->Folder()).SetScreenName(c.chosen));
        QScreen *playedOn = nullptr;
        QTimer::singleShot(300, form.get(), [&] {
            for (QWidget *window : QApplication::topLevelWidgets())
                if (auto *player = qobject_cast<PlayerWindow *>(window); player && player->isVisible()) {
                    playedOn = player->screen();
                    EXPECT_EQ(player->geometry(), playedOn->geometry());
                    QTest::keyClick(player, Qt::Key_Escape);
                }
        });
        form->PlayNow();
        EXPECT_EQ(playedOn, c.expected);
        EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    }
}

}  // namespace
}  // namespace lumetta
