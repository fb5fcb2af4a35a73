#pragma once

#include "player/background_music.h"
#include "player/slide_sequencer.h"

#include <QDialog>
#include <QString>

class QLabel;
class QTimer;
class TTransitionList;

namespace lumetta {

class ShowProject;
class TOnHelper;
class TProImage;

// The full-screen player window. Every change of slide happens inside Pano, the panel the
// transitions run on; the caption bar lies outside it.
class TSShow : public QDialog, private SlideHost
{
    Q_OBJECT

public:
    enum class StartResult {
        Started,     // the window is ready to be shown
        NoPictures,  // an empty picture list: nothing is played
        Failed,      // the first track or the background picture could not be loaded; see ErrorText()
    };

    explicit TSShow(QWidget *parent = nullptr);
    ~TSShow() override;

    // Play Now: prepares a show of `project`, shows the window modally and returns when the
    // show has ended. The project's lists are read in place while the show runs.
    StartResult PlayNow(ShowProject &project);
    // Play Now before the modal display: music, background, advance mode, hidden pointer.
    StartResult StartShow(ShowProject &project);
    const QString &ErrorText() const { return error_; }

    // Set-up of a show (runs once the window is shown): caption bar, background mode, the
    // first slide at once.
    void FormActivate();
    // The slide step, as the slide timer asks for it.
    void Timer1Timer();
    // The music poll.
    void LenTimerTimer();
    // The end of a show, however the window closes.
    void FormClose();

    SlideSequencer &Sequencer() { return sequencer_; }
    // The primary screen's size in device pixels.
    static QSize ScreenSize();

    QWidget *Pano;
    TProImage *ProImage1;
    QWidget *Shape1;
    TProImage *Image1;
    QLabel *Panel1;
    QTimer *Timer1;
    QTimer *LenTimer;
    BackgroundMusic MediaPlayer1;
    TTransitionList *Trans;
    TOnHelper *OnHelper;
    // Short notices (an unreadable picture or track); outside Pano, so no transition takes them.
    QLabel *Notice;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void HidePointer() override;
    void SetCaption(const QString &text) override;
    void LetWindowUpdate() override;
    bool PrepareEffect(int effect) override;
    std::optional<QString> ShowPicture(const QString &path) override;
    void ExecuteEffect(int effect) override;
    void UnPrepareEffect(int effect) override;
    void Notify(const QString &message) override;
    void CloseShow() override;
    bool SlideTimerEnabled() const override;
    void SetSlideTimerEnabled(bool enabled) override;
    void ShowHotKeyHelp() override;

    void PlaceSlide(const QRect &picture, const std::optional<QRect> &shadow);

    ShowProject *project_ = nullptr;
    SlideSequencer sequencer_;
    bool polling_ = false;
    QTimer *noticeTimer_;
    bool setUpPending_ = false;
    QString error_;
};

}  // namespace lumetta
