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
class ShowSettings;
class TForm2;

// "Options": edits the show settings and the playlist in place, and picks the picture browser's
// filter. Controls are loaded from the settings at every opening and written back only by OK
// (and at once by "Set Defaults").
class TOpty : public QDialog
{
    Q_OBJECT

public:
    enum class Page { Main = 0, Music = 1, Advanced = 2 };

    // PLAYLIST is the show's playlist, edited in place; FORM2 is the transition selection dialog
    // that "Select" opens. QUESTIONS answers the file, colour and message dialogs; nullptr uses
    // the desktop's own.
    TOpty(ShowSettings &settings, QStringList &playlist, TForm2 &form2,
          DialogQuestions *questions = nullptr, QWidget *parent = nullptr);
    ~TOpty() override;

    // Shows the dialog modally on PAGE; returns when it closes.
    int Open(Page page);

    // What the controls hold now.
    OptionsValues Values() const;
    // The mask of the chosen viewer filter.
    QString FileMask() const;

    void FormActivate();
    void BitBtn1Click();  // OK
    void BitBtn2Click();  // Cancel: the playlist as it was at opening
    void BitBtn3Click();  // Set Defaults
    void Button4Click();  // Select effects
    void Button5Click();  // Up
    void Button6Click();  // Down
    void Button7Click();  // Add
    void Button8Click();  // Remove
    void Button9Click();  // Clear
    void FileBackBrowse();

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

    ShowSettings &settings_;
    QStringList &playlist_;  // MusicBox's entries: the playlist itself
    TForm2 &form2_;
    std::unique_ptr<DialogQuestions> ownQuestions_;
    DialogQuestions *questions_;
    QStringList backa_;        // the playlist at opening, restored by Cancel
    QString backFolder_;       // where the background picture dialog starts
    TColor lastChosenColor_ = clBlack;

    QTabWidget *pageControl_ = nullptr;
    QRadioButton *radioButton1_ = nullptr;
    QRadioButton *radioButton2_ = nullptr;
    QSpinBox *spinEdit1_ = nullptr;
    QRadioButton *radioButton4_ = nullptr;
    QRadioButton *radioButton3_ = nullptr;
    QSpinBox *upDown1_ = nullptr;
    QCheckBox *shadBox_ = nullptr;
    QRadioButton *radioButton8_ = nullptr;
    QRadioButton *radioButton7_ = nullptr;
    QCheckBox *playMusic_ = nullptr;
    QCheckBox *repeatMusic_ = nullptr;
    QListWidget *musicBox_ = nullptr;
    QList<QPushButton *> playlistButtons_;
    QComboBox *filterComboBox2_ = nullptr;
    QRadioButton *radioButton10_ = nullptr;
    QRadioButton *radioButton11_ = nullptr;
    ColorSwatch *panel2_ = nullptr;
    ColorSwatch *panel3_ = nullptr;
    QLineEdit *fileBack_ = nullptr;
    QPushButton *fileBackButton_ = nullptr;
    QComboBox *comboBox2_ = nullptr;
    QCheckBox *checkBox1_ = nullptr;
    QCheckBox *checkBox2_ = nullptr;
    ColorSwatch *panel4_ = nullptr;
};

}  // namespace lumetta
