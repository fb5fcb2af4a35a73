// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/background_music.h"
#include "player/picture_prefetcher.h"
#include "player/slide_sequencer.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QScreen>
#include <QString>

#include <cstdint>
#include <optional>

class QLabel;
class QTimer;

namespace lumetta {

class TTransitionList;

class ShowProject;
class HotKeyHelp;
class PauseMark;
class ScreenSaverInhibitor;
class PictureWidget;
class MotionPlayback;

// The full-screen player window. Every change of slide happens inside slideArea_, the panel the
// transitions run on; the caption bar lies outside it.
class PlayerWindow : public QDialog, private SlideHost
{
    Q_OBJECT

public:
    enum class StartResult {
        Started,  // the window is ready to be shown
        NoPictures,  // an empty picture list: nothing is played
        Failed,  // the first track or the background picture could not be loaded; see ErrorText()
    };

    explicit PlayerWindow(QWidget *parent = nullptr);
    ~PlayerWindow() override;

    // Play Now: prepares a show of `project`, shows the window modally and returns when the
    // show has ended: Failed (see ErrorText()) also when no picture of it could be shown. The
    // project's lists are read in place while the show runs.
    StartResult PlayNow(ShowProject &project);
    // Play Now before the modal display: music, background, advance mode, hidden pointer.
    StartResult StartShow(ShowProject &project);
    const QString &ErrorText() const { return error_; }

    // Set-up of a show (runs once the window is shown): caption bar, background mode, the
    // first slide at once.
    void SetUpShow();
    // The slide step, as the slide timer asks for it.
    void OnSlideTimer();
    // The music poll.
    void OnMusicTimer();
    // The end of a show, however the window closes; the music fades out meanwhile.
    void EndShow();
    // Returns once the music of an ended show has faded out.
    void WaitForMusicToFade();

    SlideSequencer &Sequencer() { return sequencer_; }
    PicturePrefetcher &Prefetcher() { return prefetcher_; }
    // The screen the show plays on; nullptr (the default) is the primary screen. A screen that
    // goes away meanwhile counts as nullptr.
    void SetScreen(QScreen *screen);
    QScreen *ShowScreen() const;
    // SCREEN's size in device pixels; the primary screen's for nullptr.
    static QSize ScreenSize(const QScreen *screen = nullptr);

    // The panel every change of slide happens on; the caption bar lies outside it.
    QWidget *SlideArea() const { return slideArea_; }
    // The background (colour, gradient or picture) filling the slide area.
    PictureWidget *Background() const { return background_; }
    PictureWidget *Shadow() const { return shadow_; }
    PictureWidget *Slide() const { return slide_; }
    // The shown slide's own caption, over the slide; hidden for a slide without one.
    PictureWidget *Caption() const { return caption_; }
    QLabel *CaptionBar() const { return captionBar_; }
    // The shown slide's motion, when it moves.
    MotionPlayback *Motion() const { return motion_; }
    QTimer *SlideTimer() const { return slideTimer_; }
    QTimer *MusicTimer() const { return musicTimer_; }
    BackgroundMusic &Music() { return music_; }
    TTransitionList *Effects() const { return effects_; }
    HotKeyHelp *Help() const { return help_; }
    // Short notices (an unreadable picture or track); outside the slide area, so no transition
    // takes them.
    QLabel *Notice() const { return notice_; }
    PauseMark *PauseSign() const { return pauseMark_; }
    ScreenSaverInhibitor *ScreenSaver() const { return screenSaver_; }
    // How long each slide of the running show shows in automatic advance, fitted to the music
    // when the show asks for it.
    const QList<std::int64_t> &SlideDurations() const { return durations_; }
    // When the next automatic step falls due, in milliseconds of the show's clock
    // (Stopwatch::Now); nullopt while no step is due.
    std::optional<double> NextStepDue() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void HidePointer() override;
    void SetCaption(const QString &text) override;
    void LetWindowUpdate() override;
    void LetInputIn() override;
    bool PrepareEffect(int effect) override;
    std::optional<QString> LoadPicture(const QString &path) override;
    void ShowPicture(int index, const QString &path) override;
    void SlideShown(int index, bool timed) override;
    void ExecuteEffect(int effect) override;
    void UnPrepareEffect(int effect) override;
    void Notify(const QString &message) override;
    void CloseShow() override;
    void FailShow(const QString &message) override;
    bool SlideTimerEnabled() const override;
    void SetSlideTimerEnabled(bool enabled) override;
    void ShowHotKeyHelp() override;
    void ShowPaused(bool paused) override;

    void PlaceSlide(const PreparedSlide &slide);
    SlideRequest SlideRequestOfShow() const;
    // Asks the prefetcher for the pictures next to the shown one once no transition runs.
    void WantNeighboursSoon();

    QWidget *slideArea_;
    PictureWidget *background_;
    PictureWidget *shadow_;
    PictureWidget *slide_;
    PictureWidget *caption_;
    MotionPlayback *motion_;
    QLabel *captionBar_;
    QTimer *slideTimer_;
    QTimer *musicTimer_;
    BackgroundMusic music_;
    TTransitionList *effects_;
    HotKeyHelp *help_;
    QLabel *notice_;
    PauseMark *pauseMark_;
    ScreenSaverInhibitor *screenSaver_;
    QPointer<QScreen> screen_;
    // Fades the music out over a second once the show has ended.
    QTimer *fadeTimer_;
    QElapsedTimer fadeClock_;
    int wheelAngle_ = 0;
    ShowProject *project_ = nullptr;
    SlideSequencer sequencer_;
    // Decodes the next and the previous picture while a slide shows.
    PicturePrefetcher prefetcher_;
    bool polling_ = false;
    QTimer *noticeTimer_;
    bool setUpPending_ = false;
    // A transition runs: the prefetcher waits, so it does not compete with it.
    bool effectRunning_ = false;
    QStringList neighbours_;
    SlideRequest neighboursRequest_;
    QString error_;
    QList<std::int64_t> durations_;
    // How much detail the show's moving slides want (SlideRequest::motionDetail).
    double motionDetail_ = 0;
    int shownSlide_ = 0;
    // When the step running or last run began, and when the next one falls due (show's clock).
    double stepStartedAt_ = 0;
    double nextDue_ = 0;
};

}  // namespace lumetta
