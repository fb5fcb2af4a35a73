// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "browse/file_list_view.h"
#include "dialogs/effect_selection_dialog.h"
#include "dialogs/options_dialog.h"
#include "player/player_window.h"
#include "player/screen_numbers.h"
#include "show/play_preferences.h"
#include "show/project_file.h"
#include "support/form_object_names.h"
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
using namespace lumetta::object_names;

namespace {

class MainWindowOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lists_ = std::make_unique<ListFiles>(dir_.filePath("config"));
        window_ = std::make_unique<MainWindow>(*lists_, &dialogs_);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        window_->OnActivated();
    }

    // Runs COMMAND, which opens a modal dialog; WHILE_OPEN sees the dialog and closes it.
    void WithModal(const std::function<void()> &command, const std::function<void(QWidget *)> &whileOpen)
    {
        bool seen = false;
        QTimer::singleShot(0, window_.get(), [&] {
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

    static int Page(QWidget *dialog) { return dialog->findChild<QTabWidget *>(kPages)->currentIndex(); }

    QTemporaryDir dir_;
    std::unique_ptr<ListFiles> lists_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowOptionsTest, OptionsCommandsOpenTheirPageAndACancelChangesNothing)
{
    const struct
    {
        std::function<void()> command;
        int page;
    } cases[] = {
        {[&] { window_->findChild<QAction *>("OptionsItem")->trigger(); }, 0},
        {[&] { window_->findChild<QAction *>("AddMusicItem")->trigger(); }, 1},
        {[&] { QTest::mouseClick(window_->findChild<QToolButton *>("OptionsButton"), Qt::LeftButton); }, 0},
    };
    for (const auto &c : cases) {
        window_->Project().SetModified(false);
        const QStringList before = window_->Project().Settings().Lines();
        WithModal(c.command, [&](QWidget *dialog) {
            EXPECT_EQ(dialog, window_->Options());
            EXPECT_EQ(Page(dialog), c.page);
            Press(dialog, kCancelButton);
        });
        EXPECT_FALSE(window_->Project().Modified());
        EXPECT_FALSE(window_->Editor().History().canUndo());
        EXPECT_EQ(window_->Project().Settings().Lines(), before);
    }
}

TEST_F(MainWindowOptionsTest, OkWritesTheProjectSettingsAndTheBrowserMask)
{
    WithModal([&] { window_->ShowOptions(); },
              [&](QWidget *dialog) {
                  Press(dialog, kManualRadio);
                  auto *filter = dialog->findChild<QComboBox *>(kViewerFilterBox);
                  filter->setCurrentIndex(filter->count() - 1);  // "Gif"
                  Press(dialog, kOkButton);
              });
    EXPECT_EQ(window_->Project().Settings().Get(ShowSettings::AdvanceLine), "Manual");
    EXPECT_EQ(window_->FileList()->Mask(), "*.gif");
    EXPECT_TRUE(window_->Project().Modified());
    EXPECT_TRUE(window_->windowTitle().endsWith(" *")) << window_->windowTitle().toStdString();

    // Undone, the settings are what they were and the project is unmodified again.
    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window_->Project().Settings().Get(ShowSettings::AdvanceLine), "2");
    EXPECT_FALSE(window_->Project().Modified());
    EXPECT_EQ(window_->windowTitle(), "Lumetta XP 3.51");
    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window_->Project().Settings().Get(ShowSettings::AdvanceLine), "Manual");
    EXPECT_TRUE(window_->Project().Modified());
}

TEST_F(MainWindowOptionsTest, OkWithoutAChangeLeavesTheProjectUnmodified)
{
    WithModal([&] { window_->ShowOptions(); }, [&](QWidget *dialog) { Press(dialog, kOkButton); });
    EXPECT_FALSE(window_->Project().Modified());
    EXPECT_FALSE(window_->Editor().History().canUndo());
}

TEST_F(MainWindowOptionsTest, ACancelledSetDefaultsIsOneUndoableChange)
{
    // "Set Defaults" writes at once, so even a Cancel afterwards leaves a change to undo.
    const QStringList settings = window_->Project().Settings().Lines();
    window_->Project().EffectSelection() = QStringList{"0"};
    WithModal([&] { window_->ShowOptions(); },
              [&](QWidget *dialog) {
                  Press(dialog, kDefaultsButton);
                  Press(dialog, kCancelButton);
              });
    ASSERT_TRUE(window_->Project().Modified());
    window_->Editor().History().undo();
    EXPECT_EQ(window_->Project().Settings().Lines(), settings);
    EXPECT_EQ(window_->Project().EffectSelection(), QStringList{"0"});
    EXPECT_FALSE(window_->Project().Modified());
}

TEST_F(MainWindowOptionsTest, TheEffectDialogShowsTheOpenedProjectsSelection)
{
    EXPECT_EQ(window_->Project().EffectSelection(), ShowProject::StandardEffects());
    const QString path = dir_.filePath("show.zut");
    WriteTextFile(path, BuildProjectText(ShowSettings(), {"/pictures/a.jpg"}, {"20", "3"}, {}));
    dialogs_.openAnswers = {path};
    window_->OpenProject();
    ASSERT_EQ(window_->Project().EffectSelection(), (QStringList{"20", "3"}));

    QStringList checked;
    WithModal([&] { window_->EffectSelection()->exec(); },
              [&](QWidget *dialog) {
                  auto *list = dialog->findChild<QListWidget *>(kEffectList);
                  for (int row = 0; row < list->count(); ++row)
                      if (list->item(row)->checkState() == Qt::Checked)
                          checked << QString::number(row);
                  Press(dialog, kEffectsOkButton);
              });
    EXPECT_EQ(checked, (QStringList{"3", "20"}));
    EXPECT_EQ(window_->Project().EffectSelection(), (QStringList{"3", "20"}));
}

TEST_F(MainWindowOptionsTest, SetDefaultsResetsTheProjectsEffectSelection)
{
    window_->Project().EffectSelection() = QStringList{"0"};
    WithModal([&] { window_->ShowOptions(); },
              [&](QWidget *dialog) {
                  Press(dialog, kDefaultsButton);
                  Press(dialog, kCancelButton);
              });
    EXPECT_EQ(window_->Project().EffectSelection(), ShowProject::StandardEffects());
    EXPECT_EQ(window_->Project().Settings().Lines(), ShowSettings::DefaultLines(ShowSettings::Defaults::Dialog));
}

// Run with two screens (tests/player/two_screens.json) as well: the chosen screen when connected.
TEST_F(MainWindowOptionsTest, PlayNowPlaysOnTheScreenChosenInTheOptions)
{
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(dir_.filePath("a.bmp")));
    window_->Project().Pictures() = {dir_.filePath("a.bmp")};
    QScreen *other = QGuiApplication::screens().last();
    if (QGuiApplication::screens().size() > 1)
        ASSERT_NE(other, window_->screen());
    const struct
    {
        const char *name;
        QString chosen;
        QScreen *expected;
    } cases[] = {
        {"the main window's screen", QString(), window_->screen()},
        {"a screen that is not connected", QStringLiteral("Projector-7"), window_->screen()},
        {"the chosen screen", ScreenChoiceName(other), other},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PlayPreferences(lists_->Folder()).SetScreenName(c.chosen));
        QScreen *playedOn = nullptr;
        QTimer::singleShot(300, window_.get(), [&] {
            for (QWidget *window : QApplication::topLevelWidgets())
                if (auto *player = qobject_cast<PlayerWindow *>(window); player && player->isVisible()) {
                    playedOn = player->screen();
                    EXPECT_EQ(player->geometry(), playedOn->geometry());
                    QTest::keyClick(player, Qt::Key_Escape);
                }
        });
        window_->PlayNow();
        EXPECT_EQ(playedOn, c.expected);
        EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join(u'\n').toStdString();
    }
}

}  // namespace
}  // namespace lumetta
