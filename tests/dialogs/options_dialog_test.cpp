// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_dialog.h"

#include "dialogs/effect_selection_dialog.h"
#include "player/screen_numbers.h"
#include "show/play_preferences.h"
#include "support/fake_questions.h"
#include "support/form_object_names.h"
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
using namespace lumetta::object_names;

namespace {

const QStringList kStandard{"1", "2", "4", "6", "9", "11", "12", "13", "14", "15", "17", "19", "20"};

class OptionsDialogTest : public ::testing::Test
{
protected:
    ShowSettings settings_;
    QStringList effects_;
    QStringList playlist_{"/music/a.mp3", "/music/b.wav", "/music/c.mid"};
    FakeQuestions questions_;
    EffectSelectionDialog effectsDialog_{effects_, &questions_};
    OptionsDialog dialog_{settings_, playlist_, effectsDialog_, &questions_};

    template <class T>
    T *Find(const char *name)
    {
        T *widget = dialog_.findChild<T *>(name);
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
    QTabWidget *Pages() { return Find<QTabWidget>(kPages); }
    QListWidget *MusicBox() { return Find<QListWidget>("MusicBox"); }
    void Open(OptionsDialog::Page page = OptionsDialog::Page::Main)
    {
        Pages()->setCurrentIndex(int(page));
        dialog_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
    }
    void Highlight(int row)
    {
        MusicBox()->setFocus();
        MusicBox()->setCurrentRow(row);
    }
};

TEST_F(OptionsDialogTest, ManualAdvanceSelectsManualAndDisablesTheSeconds)
{
    settings_.Put(ShowSettings::AdvanceLine, "Manual");
    Open();
    EXPECT_TRUE(Find<QRadioButton>(kManualRadio)->isChecked());
    EXPECT_EQ(Find<QRadioButton>(kManualRadio)->text(), "&Manual after keyboard/mouse input ");
    EXPECT_FALSE(Find<QSpinBox>(kIntervalSpin)->isEnabled());
    Click(kAutomaticRadio);
    EXPECT_TRUE(Find<QSpinBox>(kIntervalSpin)->isEnabled());
}

TEST_F(OptionsDialogTest, OkWithoutChangesWritesTheSameLines)
{
    const QStringList before = settings_.Lines();
    ASSERT_EQ(before[4], "$00D5E7EA_clWhite");
    Open();
    EXPECT_EQ(dialog_.Values().topColor, 0x00D5E7EAu);
    EXPECT_EQ(dialog_.Values().bottomColor, 0xFFFFFFu);
    EXPECT_EQ(Find<QSpinBox>(kPictureSizeSpin)->value(), 80);
    EXPECT_TRUE(Find<QCheckBox>("ShadBox")->isChecked());
    Click(kOkButton);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(settings_.Lines(), before);
    EXPECT_TRUE(playlist_.isEmpty()) << "the start settings play no music";
}

TEST_F(OptionsDialogTest, OkWritesWhatTheUserChose)
{
    settings_.Put(ShowSettings::PlacementLine, "Center");
    Open();
    Find<QSpinBox>(kIntervalSpin)->setFocus();
    QTest::keyClick(Find<QSpinBox>(kIntervalSpin), Qt::Key_Up);
    QTest::keyClick(Find<QSpinBox>(kIntervalSpin), Qt::Key_Up);
    Click(kNoStretchRadio);
    Click("ShadBox");
    Click(kNoEffectsRadio);
    Pages()->setCurrentIndex(int(OptionsDialog::Page::Advanced));
    Click(kLoopCheck);
    Click(kCaptionCheck);
    Pages()->setCurrentIndex(int(OptionsDialog::Page::Music));
    Click("PlayMusic");
    Click("RepeatMusic");
    Click(kOkButton);
    EXPECT_EQ(settings_.Lines(), (QStringList{"4", "No", "No effect", "RepeatMusic", "$00D5E7EA_clWhite", "No", "Color",
                                              "Center", "clPurple", "No"}));
    EXPECT_EQ(playlist_.size(), 3);
}

TEST_F(OptionsDialogTest, MusicOffEmptiesThePlaylistOnOkAndCancelRestoresIt)
{
    settings_.Put(ShowSettings::MusicLine, "NoRepeat");
    Open(OptionsDialog::Page::Music);
    ASSERT_TRUE(Find<QCheckBox>("PlayMusic")->isChecked());
    ASSERT_EQ(MusicBox()->count(), 3);
    Highlight(0);
    QTest::keyClick(MusicBox(), Qt::Key_Delete);
    Click("PlayMusic");
    EXPECT_FALSE(MusicBox()->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(kMusicAddButton)->isEnabled());
    Click(kCancelButton);
    EXPECT_EQ(playlist_, (QStringList{"/music/a.mp3", "/music/b.wav", "/music/c.mid"}));
    EXPECT_EQ(settings_.Get(ShowSettings::MusicLine), "NoRepeat");

    Open(OptionsDialog::Page::Music);
    Click("PlayMusic");
    Click(kOkButton);
    EXPECT_EQ(settings_.Get(ShowSettings::MusicLine), "No music");
    EXPECT_TRUE(playlist_.isEmpty());
    EXPECT_EQ(MusicBox()->count(), 0);
}

TEST_F(OptionsDialogTest, EscapeKeepsPlaylistEditsAndDiscardsTheRest)
{
    settings_.Put(ShowSettings::MusicLine, "RepeatMusic");
    const QStringList before = settings_.Lines();
    Open(OptionsDialog::Page::Music);
    Highlight(2);
    Click(kMusicRemoveButton);
    Click("RepeatMusic");
    QTest::keyClick(MusicBox(), Qt::Key_Escape);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(playlist_, (QStringList{"/music/a.mp3", "/music/b.wav"}));
    EXPECT_EQ(settings_.Lines(), before);
    Open(OptionsDialog::Page::Music);
    EXPECT_TRUE(Find<QCheckBox>("RepeatMusic")->isChecked()) << "controls are loaded again";
}

TEST_F(OptionsDialogTest, PlaylistButtonsMoveAddAndClear)
{
    settings_.Put(ShowSettings::MusicLine, "NoRepeat");
    Open(OptionsDialog::Page::Music);
    Highlight(2);
    Click(kMusicUpButton);
    Click(kMusicUpButton);
    EXPECT_EQ(playlist_, (QStringList{"/music/c.mid", "/music/a.mp3", "/music/b.wav"}));
    EXPECT_EQ(MusicBox()->currentRow(), 0);
    Click(kMusicUpButton);
    EXPECT_EQ(playlist_.first(), "/music/c.mid") << "Up on the first entry does nothing";
    Highlight(2);
    Click(kMusicDownButton);
    EXPECT_EQ(playlist_.last(), "/music/b.wav") << "Down on the last entry does nothing";
    MusicBox()->clearSelection();
    Click(kMusicDownButton);
    Click(kMusicRemoveButton);
    EXPECT_EQ(playlist_.size(), 3) << "nothing highlighted: nothing moves or goes";

    questions_.files = {QString("/music/d.kar"), std::nullopt};
    Click(kMusicAddButton);
    Click(kMusicAddButton);
    EXPECT_EQ(playlist_.last(), "/music/d.kar");
    EXPECT_EQ(playlist_.size(), 4);
    EXPECT_EQ(MusicBox()->item(3)->text(), "/music/d.kar");
    Click(kMusicClearButton);
    EXPECT_TRUE(playlist_.isEmpty());
    EXPECT_EQ(MusicBox()->count(), 0);
}

TEST_F(OptionsDialogTest, SetDefaultsWritesAtOnceAndCancelKeepsThem)
{
    effects_ = QStringList{"0"};
    settings_.Put(ShowSettings::AdvanceLine, "Manual");
    settings_.Put(ShowSettings::MusicLine, "NoRepeat");
    Open();
    Click(kDefaultsButton);
    EXPECT_EQ(settings_.Lines(), ShowSettings::DefaultLines(ShowSettings::Defaults::Dialog));
    EXPECT_EQ(effects_, kStandard);
    EXPECT_TRUE(Find<QRadioButton>(kAutomaticRadio)->isChecked()) << "controls loaded again";
    EXPECT_EQ(Find<QSpinBox>(kIntervalSpin)->value(), 2);
    EXPECT_EQ(Find<QSpinBox>(kPictureSizeSpin)->value(), 100);
    EXPECT_FALSE(Find<QCheckBox>("ShadBox")->isChecked());
    EXPECT_EQ(dialog_.Values().topColor, 0x00281800u);
    EXPECT_EQ(dialog_.Values().bottomColor, 0x00281800u);
    Click(kCancelButton);
    EXPECT_EQ(settings_.Lines(), ShowSettings::DefaultLines(ShowSettings::Defaults::Dialog));
    EXPECT_EQ(playlist_.size(), 3) << "the playlist is emptied only by OK";
}

TEST_F(OptionsDialogTest, MissingBackgroundPictureKeepsTheDialogOpen)
{
    const QStringList before = settings_.Lines();
    Open(OptionsDialog::Page::Advanced);
    Click(kImageRadio);
    EXPECT_TRUE(Find<QLineEdit>("FileBack")->isEnabled());
    EXPECT_TRUE(Find<QComboBox>(kPlacementBox)->isEnabled());
    EXPECT_EQ(Find<QLineEdit>("FileBack")->text(), "Select image");
    Click(kLoopCheck);
    Click(kOkButton);
    EXPECT_EQ(questions_.messages, QStringList{"Set true background picture filename!"});
    EXPECT_EQ(Pages()->currentIndex(), int(OptionsDialog::Page::Advanced));
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(settings_.Lines(), before);
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
    Click(kImageRadio);
    questions_.files = {picture};
    Click("FileBackButton");
    ASSERT_EQ(questions_.foldersOffered.size(), 1);
    EXPECT_NE(questions_.foldersOffered.first(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(Find<QLineEdit>("FileBack")->text(), picture);
    QComboBox *placement = Find<QComboBox>(kPlacementBox);
    EXPECT_EQ(placement->currentText(), "Tile");
    placement->setFocus();
    QTest::keyClick(placement, Qt::Key_Down);
    Click(kOkButton);
    EXPECT_EQ(settings_.Get(ShowSettings::BackgroundLine), picture);
    EXPECT_EQ(settings_.Get(ShowSettings::BackgroundKindLine), "BackFile");
    EXPECT_EQ(settings_.Get(ShowSettings::PlacementLine), "Center");

    Open(OptionsDialog::Page::Advanced);
    EXPECT_TRUE(Find<QRadioButton>(kImageRadio)->isChecked());
    questions_.files = {std::nullopt};
    Click("FileBackButton");
    EXPECT_EQ(questions_.foldersOffered.last(), dir.path()) << "the browser starts at the chosen picture";
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
    Click(kImageRadio);
    questions_.files = {std::nullopt};
    Click("FileBackButton");
    QFile::remove(userDirs);
    EXPECT_EQ(questions_.foldersOffered, QStringList{pictures});
}

TEST_F(OptionsDialogTest, AltOPressesOk)
{
    Open();
    dialog_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog_));
    EXPECT_EQ(Find<QPushButton>("BitBtn1")->text(), "&OK");
    QSignalSpy accepted(&dialog_, &QDialog::accepted);
    QTest::keyClick(&dialog_, Qt::Key_O, Qt::AltModifier);
    // A mnemonic clicks the button as the mouse would, shown pressed for a moment.
    EXPECT_TRUE(QTest::qWaitFor([&] { return accepted.count() == 1; }));
    EXPECT_FALSE(dialog_.isVisible());
}

TEST_F(OptionsDialogTest, SwatchesTakeTheChosenColourAndTheDialogRemembersIt)
{
    Open(OptionsDialog::Page::Advanced);
    questions_.colors = {ColorRef(0x0000FF), std::nullopt, ColorRef(0x00123456)};
    Click(kTopColorPanel);
    Click(kBottomColorPanel);
    Click(kCaptionColorPanel);
    EXPECT_EQ(questions_.colorsOffered, (QList<ColorRef>{0x000000, 0x0000FF, 0x0000FF}));
    Click(kCaptionCheck);
    Click(kOkButton);
    EXPECT_EQ(settings_.Get(ShowSettings::BackgroundLine), "clRed_clWhite");
    EXPECT_EQ(settings_.Get(ShowSettings::CaptionLine), "$00123456");
}

TEST_F(OptionsDialogTest, OkHandsTheChosenFilterToTheBrowser)
{
    QSignalSpy masks(&dialog_, &OptionsDialog::FileMaskChosen);
    Open(OptionsDialog::Page::Advanced);
    QComboBox *filter = Find<QComboBox>(kViewerFilterBox);
    EXPECT_EQ(filter->currentText(), "All pictures");
    Click(kOkButton);
    Open(OptionsDialog::Page::Advanced);
    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_End);
    EXPECT_EQ(filter->currentText(), "Gif");
    Click(kCancelButton);
    Open(OptionsDialog::Page::Advanced);
    EXPECT_EQ(filter->currentText(), "Gif") << "the filter is no setting; the combo keeps it";
    Click(kOkButton);
    ASSERT_EQ(masks.size(), 2);
    EXPECT_EQ(masks[0][0].toString(), "*.BMP;*.JPG;*.JPEG;*.GIF;*.PNG;*.WEBP;*.TIF;*.TIFF;*.HEIC;*.HEIF;*.AVIF");
    EXPECT_EQ(masks[1][0].toString(), "*.gif");
}

TEST_F(OptionsDialogTest, SelectOpensTheTransitionDialogAndKeepsTheControls)
{
    Open();
    Click(kNoStretchRadio);
    bool shown = false;
    QTimer::singleShot(0, &dialog_, [&] {
        shown = effectsDialog_.isVisible() && QApplication::activeModalWidget() == &effectsDialog_;
        QTest::mouseClick(effectsDialog_.findChild<QPushButton *>(kEffectsCancelButton), Qt::LeftButton);
    });
    Click(kSelectEffectsButton);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(effectsDialog_.isVisible());
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_TRUE(Find<QRadioButton>(kNoStretchRadio)->isChecked()) << "returning loads nothing again";
}

TEST_F(OptionsDialogTest, OpenShowsTheAskedPage)
{
    QTimer::singleShot(0, &dialog_, [&] {
        EXPECT_EQ(Pages()->currentIndex(), int(OptionsDialog::Page::Music));
        EXPECT_EQ(Pages()->tabText(1), "Music");
        Click(kCancelButton);
    });
    EXPECT_EQ(dialog_.Open(OptionsDialog::Page::Music), QDialog::Rejected);
    EXPECT_EQ(dialog_.windowTitle(), "Options");
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
        {"nothing saved means the main window's screen", QString(), -1, kOkButton, QString(),
         "The screen the main window is on"},
        {"a connected screen by its name", QString(), 1, kOkButton, ScreenChoiceName(screens.first()), nullptr},
        {"cancel writes nothing", QString(), 1, kCancelButton, QString(), nullptr},
        {"back to the main window's screen", ScreenChoiceName(screens.first()), 0, kOkButton, QString(), nullptr},
        {"a projector that is not connected now is kept", "Projector-7", -1, kOkButton, "Projector-7",
         "Projector-7 (not connected)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(preferences.SetScreenName(c.saved));
        dialog_.SetPlayPreferences(&preferences);
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
        EXPECT_FALSE(dialog_.isVisible());
        EXPECT_EQ(PlayPreferences(dir.path()).ScreenName(), c.expected);
    }
    EXPECT_TRUE(questions_.messages.isEmpty()) << questions_.messages.join(u'\n').toStdString();
}

TEST_F(OptionsDialogTest, PlayOnThatCannotBeWrittenIsReportedAndTheSettingsStillApply)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PlayPreferences preferences(dir.filePath("file/config"));
    dialog_.SetPlayPreferences(&preferences);
    const QString loopBefore = settings_.Get(ShowSettings::LoopingLine);
    Open(OptionsDialog::Page::Advanced);
    Find<QComboBox>("PlayScreenBox")->setCurrentIndex(1);
    Click(kLoopCheck);
    Click(kOkButton);
    ASSERT_EQ(questions_.messages.size(), 1);
    EXPECT_TRUE(questions_.messages.first().contains(dir.filePath("file/config")));
    EXPECT_NE(settings_.Get(ShowSettings::LoopingLine), loopBefore);
}

}  // namespace
