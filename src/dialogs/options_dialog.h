// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/options_values.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace lumetta {

class ColorSwatch;
class DialogQuestions;
class PlayPreferences;
class ShowSettings;
class EffectSelectionDialog;

// "Options": edits the show settings and the playlist in place, and picks the picture browser's
// filter. Controls are loaded from the settings at every opening and written back only by OK
// (and at once by "Set Defaults").
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Page { Main = 0, Music = 1, Advanced = 2 };

    // PLAYLIST is the show's playlist, edited in place; FORM2 is the transition selection dialog
    // that "Select" opens. QUESTIONS answers the file, colour and message dialogs; nullptr uses
    // the desktop's own.
    OptionsDialog(ShowSettings &settings, QStringList &playlist, EffectSelectionDialog &effectSelection,
                  DialogQuestions *questions = nullptr, QWidget *parent = nullptr);
    ~OptionsDialog() override;

    // The Advanced page's "Play on" choice reads and writes PREFERENCES (kept by the caller);
    // without them the choice is not shown.
    void SetPlayPreferences(PlayPreferences *preferences);

    // Shows the dialog modally on PAGE; returns when it closes.
    int Open(Page page);

    // What the controls hold now.
    OptionsValues Values() const;
    // The mask of the chosen viewer filter.
    QString FileMask() const;

    // Loads the controls from the settings and remembers the playlist; runs at every opening.
    void LoadControls();
    // OK: writes the controls back to the settings once the background choice is valid.
    void accept() override;
    // Cancel: the playlist as it was at opening.
    void Cancel();
    // "Set Defaults": the dialog's default settings and the standard effect set, at once.
    void SetDefaults();
    void SelectEffects();
    void MoveTrackUp();
    void MoveTrackDown();
    void AddTracks();
    void RemoveTrack();
    void ClearPlaylist();
    void BrowseBackground();

signals:
    // OK chose this mask for the picture browser.
    void FileMaskChosen(const QString &mask);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *BuildMainPage();
    QWidget *BuildMusicPage();
    QWidget *BuildAdvancedPage();
    void ShowValues(const OptionsValues &values);
    void UpdateEnabling();
    void ShowPlaylist(int highlighted);
    int HighlightedSong() const;
    void ChooseColor(ColorSwatch *swatch);
    void ShowPlayScreens();

    ShowSettings &settings_;
    QStringList &playlist_;  // MusicBox's entries: the playlist itself
    EffectSelectionDialog &effectSelection_;
    std::unique_ptr<DialogQuestions> ownQuestions_;
    DialogQuestions *questions_;
    QStringList playlistAtOpening_;  // the playlist at opening, restored by Cancel
    QString backFolder_;  // where the background picture dialog starts
    ColorRef lastChosenColor_ = kClBlack;

    QTabWidget *pages_ = nullptr;
    QRadioButton *automaticAdvance_ = nullptr;
    QRadioButton *manualAdvance_ = nullptr;
    QSpinBox *seconds_ = nullptr;
    QRadioButton *fitToScreen_ = nullptr;
    QRadioButton *noStretch_ = nullptr;
    QSpinBox *percent_ = nullptr;
    QCheckBox *shadow_ = nullptr;
    QRadioButton *randomEffects_ = nullptr;
    QRadioButton *noEffects_ = nullptr;
    QCheckBox *playMusic_ = nullptr;
    QCheckBox *repeatMusic_ = nullptr;
    QListWidget *playlistBox_ = nullptr;
    QList<QPushButton *> playlistButtons_;
    QComboBox *viewerFilter_ = nullptr;
    QRadioButton *backgroundColors_ = nullptr;
    QRadioButton *backgroundImage_ = nullptr;
    ColorSwatch *topColor_ = nullptr;
    ColorSwatch *bottomColor_ = nullptr;
    QLineEdit *backgroundFile_ = nullptr;
    QPushButton *backgroundBrowse_ = nullptr;
    QComboBox *placement_ = nullptr;
    QCheckBox *loop_ = nullptr;
    QCheckBox *showCaption_ = nullptr;
    ColorSwatch *captionColor_ = nullptr;
    PlayPreferences *playPreferences_ = nullptr;
    QWidget *playGroup_ = nullptr;
    QComboBox *playScreen_ = nullptr;
};

}  // namespace lumetta
