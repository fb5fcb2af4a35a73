// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_dialog.h"

#include "dialogs/effect_selection_dialog.h"
#include "player/screen_numbers.h"
#include "show/play_preferences.h"
#include "support/fake_questions.h"
#include "support/qstring_print.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace lumetta;

namespace {

const QStringList kStandard{"1", "2", "4", "6", "9", "11", "12", "13", "14", "15", "17", "19", "20"};

class OptionsDialogTest : public ::testing::Test
{
protected:
    ShowSettings settings;
    QStringList effects;
    QStringList playlist{"/music/a.mp3", "/music/b.wav", "/music/c.mid"};
    FakeQuestions questions;
    EffectSelectionDialog form2{effects, &questions};
    OptionsDialog opty{settings, playlist, form2, &questions};

    template <class T>
    T *Find(const char *name)
    {
        T *widget = opty.findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Clicks a button where a user would: check boxes and radio buttons on their indicator.
    void Click(const char *name)
    {
        QAbstractButton *button = Find<QAbstractButton>(name);
        ASSERT_TRUE(button->isVisible()) << name;
        const bool indicator = qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button);
        QTest::mouseClick(button, Qt::LeftButton, {},
                          indicator ? QPoint(6, button->height() / 2) : button->rect().center());
    }
    QTabWidget *Pages() { return Find<QTabWidget>("PageControl1"); }
    QListWidget *MusicBox() { return Find<QListWidget>("MusicBox"); }
    void Open(OptionsDialog::Page page = OptionsDialog::Page::Main)
    {
        Pages()->setCurrentIndex(int(page));
        opty.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&opty));
    }
    void Highlight(int row)
    {
        MusicBox()->setFocus();
        MusicBox()->setCurrentRow(row);
    }
};

TEST_F(OptionsDialogTest, ManualAdvanceSelectsManualAndDisablesTheSeconds)
{
    settings.Put(ShowSettings::kAdvance, "Manual");
    Open();
    EXPECT_TRUE(Find<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_EQ(Find<QRadioButton>("RadioButton2")->text(), "&Manual after keyboard/mouse input ");
    EXPECT_FALSE(Find<QSpinBox>("SpinEdit1")->isEnabled());
    Click("RadioButton1");
    EXPECT_TRUE(Find<QSpinBox>("SpinEdit1")->isEnabled());
}

TEST_F(OptionsDialogTest, OkWithoutChangesWritesTheSameLines)
{
    const QStringList before = settings.Lines();
    ASSERT_EQ(before[4], "$00D5E7EA_clWhite");
    Open();
    EXPECT_EQ(opty.Values().topColor, 0x00D5E7EAu);
    EXPECT_EQ(opty.Values().bottomColor, 0xFFFFFFu);
    EXPECT_EQ(Find<QSpinBox>("UpDown1")->value(), 80);
    EXPECT_TRUE(Find<QCheckBox>("ShadBox")->isChecked());
    Click("BitBtn1");
    EXPECT_FALSE(opty.isVisible());
    EXPECT_EQ(settings.Lines(), before);
    EXPECT_TRUE(playlist.isEmpty()) << "the start settings play no music";
}

TEST_F(OptionsDialogTest, OkWritesWhatTheUserChose)
{
    settings.Put(ShowSettings::kPlacement, "Center");
    Open();
    Find<QSpinBox>("SpinEdit1")->setFocus();
    QTest::keyClick(Find<QSpinBox>("SpinEdit1"), Qt::Key_Up);
    QTest::keyClick(Find<QSpinBox>("SpinEdit1"), Qt::Key_Up);
    Click("RadioButton3");
    Click("ShadBox");
    Click("RadioButton7");
    Pages()->setCurrentIndex(int(OptionsDialog::Page::Advanced));
    Click("CheckBox1");
    Click("CheckBox2");
    Pages()->setCurrentIndex(int(OptionsDialog::Page::Music));
    Click("PlayMusic");
    Click("RepeatMusic");
    Click("BitBtn1");
    EXPECT_EQ(settings.Lines(), (QStringList{"4", "No", "No effect", "RepeatMusic", "$00D5E7EA_clWhite", "No", "Color",
                                             "Center", "clPurple", "No"}));
    EXPECT_EQ(playlist.size(), 3);
}

TEST_F(OptionsDialogTest, MusicOffEmptiesThePlaylistOnOkAndCancelRestoresIt)
{
    settings.Put(ShowSettings::kMusic, "NoRepeat");
    Open(OptionsDialog::Page::Music);
    ASSERT_TRUE(Find<QCheckBox>("PlayMusic")->isChecked());
    ASSERT_EQ(MusicBox()->count(), 3);
    Highlight(0);
    QTest::keyClick(MusicBox(), Qt::Key_Delete);
    Click("PlayMusic");
    EXPECT_FALSE(MusicBox()->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("Button7")->isEnabled());
    Click("BitBtn2");
    EXPECT_EQ(playlist, (QStringList{"/music/a.mp3", "/music/b.wav", "/music/c.mid"}));
    EXPECT_EQ(settings.Get(ShowSettings::kMusic), "NoRepeat");

    Open(OptionsDialog::Page::Music);
    Click("PlayMusic");
    Click("BitBtn1");
    EXPECT_EQ(settings.Get(ShowSettings::kMusic), "No music");
    EXPECT_TRUE(playlist.isEmpty());
    EXPECT_EQ(MusicBox()->count(), 0);
}

TEST_F(OptionsDialogTest, EscapeKeepsPlaylistEditsAndDiscardsTheRest)
{
    settings.Put(ShowSettings::kMusic, "RepeatMusic");
    const QStringList before = settings.Lines();
    Open(OptionsDialog::Page::Music);
    Highlight(2);
    Click("Button8");
    Click("RepeatMusic");
    QTest::keyClick(MusicBox(), Qt::Key_Escape);
    EXPECT_FALSE(opty.isVisible());
    EXPECT_EQ(playlist, (QStringList{"/music/a.mp3", "/music/b.wav"}));
    EXPECT_EQ(settings.Lines(), before);
    Open(OptionsDialog::Page::Music);
    EXPECT_TRUE(Find<QCheckBox>("RepeatMusic")->isChecked()) << "controls are loaded again";
}

TEST_F(OptionsDialogTest, PlaylistButtonsMoveAddAndClear)
{
    settings.Put(ShowSettings::kMusic, "NoRepeat");
    Open(OptionsDialog::Page::Music);
    Highlight(2);
    Click("Button5");
    Click("Button5");
    EXPECT_EQ(playlist, (QStringList{"/music/c.mid", "/music/a.mp3", "/music/b.wav"}));
    EXPECT_EQ(MusicBox()->currentRow(), 0);
    Click("Button5");
    EXPECT_EQ(playlist.first(), "/music/c.mid") << "Up on the first entry does nothing";
    Highlight(2);
    Click("Button6");
    EXPECT_EQ(playlist.last(), "/music/b.wav") << "Down on the last entry does nothing";
    MusicBox()->clearSelection();
    Click("Button6");
    Click("Button8");
    EXPECT_EQ(playlist.size(), 3) << "nothing highlighted: nothing moves or goes";

    questions.files = {QString("/music/d.kar"), std::nullopt};
    Click("Button7");
    Click("Button7");
    EXPECT_EQ(playlist.last(), "/music/d.kar");
    EXPECT_EQ(playlist.size(), 4);
    EXPECT_EQ(MusicBox()->item(3)->text(), "/music/d.kar");
    Click("Button9");
    EXPECT_TRUE(playlist.isEmpty());
    EXPECT_EQ(MusicBox()->count(), 0);
}

TEST_F(OptionsDialogTest, SetDefaultsWritesAtOnceAndCancelKeepsThem)
{
    effects = QStringList{"0"};
    settings.Put(ShowSettings::kAdvance, "Manual");
    settings.Put(ShowSettings::kMusic, "NoRepeat");
    Open();
    Click("BitBtn3");
    EXPECT_EQ(settings.Lines(), ShowSettings::DefaultLines(ShowSettings::Defaults::Dialog));
    EXPECT_EQ(effects, kStandard);
    EXPECT_TRUE(Find<QRadioButton>("RadioButton1")->isChecked()) << "controls loaded again";
    EXPECT_EQ(Find<QSpinBox>("SpinEdit1")->value(), 2);
    EXPECT_EQ(Find<QSpinBox>("UpDown1")->value(), 100);
    EXPECT_FALSE(Find<QCheckBox>("ShadBox")->isChecked());
    EXPECT_EQ(opty.Values().topColor, 0x00281800u);
    EXPECT_EQ(opty.Values().bottomColor, 0x00281800u);
    Click("BitBtn2");
    EXPECT_EQ(settings.Lines(), ShowSettings::DefaultLines(ShowSettings::Defaults::Dialog));
    EXPECT_EQ(playlist.size(), 3) << "the playlist is emptied only by OK";
}

TEST_F(OptionsDialogTest, MissingBackgroundPictureKeepsTheDialogOpen)
{
    const QStringList before = settings.Lines();
    Open(OptionsDialog::Page::Advanced);
    Click("RadioButton11");
    EXPECT_TRUE(Find<QLineEdit>("FileBack")->isEnabled());
    EXPECT_TRUE(Find<QComboBox>("ComboBox2")->isEnabled());
    EXPECT_EQ(Find<QLineEdit>("FileBack")->text(), "Select image");
    Click("CheckBox1");
    Click("BitBtn1");
    EXPECT_EQ(questions.messages, QStringList{"Set true background picture filename!"});
    EXPECT_EQ(Pages()->currentIndex(), int(OptionsDialog::Page::Advanced));
    EXPECT_TRUE(opty.isVisible());
    EXPECT_EQ(settings.Lines(), before);
}

TEST_F(OptionsDialogTest, BackgroundPictureIsChosenWithItsPlacement)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath("back.jpg");
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Open(OptionsDialog::Page::Advanced);
    EXPECT_FALSE(Find<QLineEdit>("FileBack")->isEnabled());
    Click("RadioButton11");
    questions.files = {picture};
    Click("FileBackButton");
    ASSERT_EQ(questions.foldersOffered.size(), 1);
    EXPECT_NE(questions.foldersOffered.first(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(Find<QLineEdit>("FileBack")->text(), picture);
    QComboBox *placement = Find<QComboBox>("ComboBox2");
    EXPECT_EQ(placement->currentText(), "Tile");
    placement->setFocus();
    QTest::keyClick(placement, Qt::Key_Down);
    Click("BitBtn1");
    EXPECT_EQ(settings.Get(ShowSettings::kBackground), picture);
    EXPECT_EQ(settings.Get(ShowSettings::kBackgroundKind), "BackFile");
    EXPECT_EQ(settings.Get(ShowSettings::kPlacement), "Center");

    Open(OptionsDialog::Page::Advanced);
    EXPECT_TRUE(Find<QRadioButton>("RadioButton11")->isChecked());
    questions.files = {std::nullopt};
    Click("FileBackButton");
    EXPECT_EQ(questions.foldersOffered.last(), dir.path()) << "the browser starts at the chosen picture";
    EXPECT_EQ(Find<QLineEdit>("FileBack")->text(), picture);
}

// The background picture's browser starts in the user's Pictures folder (XDG_PICTURES_DIR).
TEST_F(OptionsDialogTest, BackgroundBrowserStartsInThePicturesFolder)
{
    QTemporaryDir dir;
    const QString pictures = dir.filePath("Bilder");
    ASSERT_TRUE(QDir().mkpath(pictures));
    const QString userDirs = qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(userDirs).absolutePath()));
    QFile file(userDirs);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("XDG_PICTURES_DIR=\"" + pictures.toUtf8() + "\"\n");
    file.close();
    Open(OptionsDialog::Page::Advanced);
    Click("RadioButton11");
    questions.files = {std::nullopt};
    Click("FileBackButton");
    QFile::remove(userDirs);
    EXPECT_EQ(questions.foldersOffered, QStringList{pictures});
}

TEST_F(OptionsDialogTest, AltOPressesOk)
{
    Open();
    opty.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&opty));
    EXPECT_EQ(Find<QPushButton>("BitBtn1")->text(), "&OK");
    QSignalSpy accepted(&opty, &QDialog::accepted);
    QTest::keyClick(&opty, Qt::Key_O, Qt::AltModifier);
    // A mnemonic clicks the button as the mouse would, shown pressed for a moment.
    EXPECT_TRUE(QTest::qWaitFor([&] { return accepted.count() == 1; }));
    EXPECT_FALSE(opty.isVisible());
}

TEST_F(OptionsDialogTest, SwatchesTakeTheChosenColourAndTheDialogRemembersIt)
{
    Open(OptionsDialog::Page::Advanced);
    questions.colors = {ColorRef(0x0000FF), std::nullopt, ColorRef(0x00123456)};
    Click("Panel2");
    Click("Panel3");
    Click("Panel4");
    EXPECT_EQ(questions.colorsOffered, (QList<ColorRef>{0x000000, 0x0000FF, 0x0000FF}));
    Click("CheckBox2");
    Click("BitBtn1");
    EXPECT_EQ(settings.Get(ShowSettings::kBackground), "clRed_clWhite");
    EXPECT_EQ(settings.Get(ShowSettings::kCaption), "$00123456");
}

TEST_F(OptionsDialogTest, OkHandsTheChosenFilterToTheBrowser)
{
    QSignalSpy masks(&opty, &OptionsDialog::FileMaskChosen);
    Open(OptionsDialog::Page::Advanced);
    QComboBox *filter = Find<QComboBox>("FilterComboBox2");
    EXPECT_EQ(filter->currentText(), "All pictures");
    Click("BitBtn1");
    Open(OptionsDialog::Page::Advanced);
    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_End);
    EXPECT_EQ(filter->currentText(), "Gif");
    Click("BitBtn2");
    Open(OptionsDialog::Page::Advanced);
    EXPECT_EQ(filter->currentText(), "Gif") << "the filter is no setting; the combo keeps it";
    Click("BitBtn1");
    ASSERT_EQ(masks.size(), 2);
    EXPECT_EQ(masks[0][0].toString(), "*.BMP;*.JPG;*.JPEG;*.GIF;*.PNG;*.WEBP;*.TIF;*.TIFF;*.HEIC;*.HEIF;*.AVIF");
    EXPECT_EQ(masks[1][0].toString(), "*.gif");
}

TEST_F(OptionsDialogTest, SelectOpensTheTransitionDialogAndKeepsTheControls)
{
    Open();
    Click("RadioButton3");
    bool shown = false;
    QTimer::singleShot(0, &opty, [&] {
        shown = form2.isVisible() && QApplication::activeModalWidget() == &form2;
        QTest::mouseClick(form2.findChild<QPushButton *>("Button1"), Qt::LeftButton);
    });
    Click("Button4");
    EXPECT_TRUE(shown);
    EXPECT_FALSE(form2.isVisible());
    EXPECT_TRUE(opty.isVisible());
    EXPECT_TRUE(Find<QRadioButton>("RadioButton3")->isChecked()) << "returning loads nothing again";
}

TEST_F(OptionsDialogTest, OpenShowsTheAskedPage)
{
    QTimer::singleShot(0, &opty, [&] {
        EXPECT_EQ(Pages()->currentIndex(), int(OptionsDialog::Page::Music));
        EXPECT_EQ(Pages()->tabText(1), "Music");
        Click("BitBtn2");
    });
    EXPECT_EQ(opty.Open(OptionsDialog::Page::Music), QDialog::Rejected);
    EXPECT_EQ(opty.windowTitle(), "Options");
}

}  // namespace

namespace {

TEST_F(OptionsDialogTest, PlayOnIsOfferedOnlyWithPreferencesToKeepItIn)
{
    Open(OptionsDialog::Page::Advanced);
    EXPECT_FALSE(Find<QComboBox>("PlayScreenBox")->isVisible());
}

TEST_F(OptionsDialogTest, PlayOnListsTheScreensByNameAndOkKeepsTheChoice)
{
    QTemporaryDir dir;
    PlayPreferences preferences(dir.path());
    const QList<QScreen *> screens = QGuiApplication::screens();
    const struct
    {
        const char *name;
        QString saved;  // in the file at opening
        int pick;  // the entry chosen, -1 for none
        const char *button;  // OK or Cancel
        QString expected;  // in the file afterwards
        const char *shownText;  // the entry shown at opening, when given
    } cases[] = {
        {"nothing saved means the main window's screen", QString(), -1, "BitBtn1", QString(),
         "The screen the main window is on"},
        {"a connected screen by its name", QString(), 1, "BitBtn1", ScreenChoiceName(screens.first()), nullptr},
        {"cancel writes nothing", QString(), 1, "BitBtn2", QString(), nullptr},
        {"back to the main window's screen", ScreenChoiceName(screens.first()), 0, "BitBtn1", QString(), nullptr},
        {"a projector that is not connected now is kept", "Projector-7", -1, "BitBtn1", "Projector-7",
         "Projector-7 (not connected)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(preferences.SetScreenName(c.saved));
        opty.SetPlayPreferences(&preferences);
        Open(OptionsDialog::Page::Advanced);
        QComboBox *box = Find<QComboBox>("PlayScreenBox");
        ASSERT_TRUE(box->isVisible());
        const int connected = int(screens.size());
        EXPECT_EQ(box->count(), 1 + connected + (c.saved == "Projector-7" ? 1 : 0));
        for (int i = 0; i < connected; ++i)
            EXPECT_TRUE(box->itemText(1 + i).startsWith(ScreenChoiceName(screens.at(i))))
                << box->itemText(1 + i).toStdString();
        if (c.shownText)
            EXPECT_EQ(box->currentText(), QLatin1String(c.shownText));
        if (c.pick >= 0) {
            // By keyboard, as a user without a mouse would.
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Home);
            for (int i = 0; i < c.pick; ++i)
                QTest::keyClick(box, Qt::Key_Down);
            ASSERT_EQ(box->currentIndex(), c.pick);
        }
        Click(c.button);
        EXPECT_FALSE(opty.isVisible());
        EXPECT_EQ(PlayPreferences(dir.path()).ScreenName(), c.expected);
    }
    EXPECT_TRUE(questions.messages.isEmpty()) << questions.messages.join(u'\n').toStdString();
}

TEST_F(OptionsDialogTest, PlayOnThatCannotBeWrittenIsReportedAndTheSettingsStillApply)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PlayPreferences preferences(dir.filePath("file/config"));
    opty.SetPlayPreferences(&preferences);
    const QString loopBefore = settings.Get(ShowSettings::kLooping);
    Open(OptionsDialog::Page::Advanced);
    Find<QComboBox>("PlayScreenBox")->setCurrentIndex(1);
    Click("CheckBox1");
    Click("BitBtn1");
    ASSERT_EQ(questions.messages.size(), 1);
    EXPECT_TRUE(questions.messages.first().contains(dir.filePath("file/config")));
    EXPECT_NE(settings.Get(ShowSettings::kLooping), loopBefore);
}

}  // namespace
