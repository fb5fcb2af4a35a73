// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/slide_edit.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace lumetta {

// The slide panel beside the picture list: the caption, the time and the transition of the
// selected slides (a change applies to every one of them), and the show's fit to its music.
// It only shows and reports; the main window records every change as an undoable edit.
class SlidePanel : public QWidget
{
    Q_OBJECT
public:
    explicit SlidePanel(QWidget *parent = nullptr);

    // The time offered to a slide of a manual show when it is given one of its own.
    static constexpr int kManualShowSeconds = 5;

    // Shows the details of the first of COUNT selected slides (none: the panel is disabled) and
    // the show-wide choice, without reporting them as edits. A slide without a time of its own
    // shows SHOWSECONDS, the time a slide of the show gets, as the time it would start from.
    void ShowSlides(int count, const SlideDetails &first, bool fitToMusic, int showSeconds);

    QPlainTextEdit *CaptionText() const { return text_; }
    QFontComboBox *CaptionFont() const { return font_; }
    QSpinBox *CaptionSize() const { return size_; }
    QPushButton *CaptionColour() const { return colour_; }
    QComboBox *CaptionPosition() const { return position_; }
    QComboBox *CaptionEdge() const { return edge_; }
    QCheckBox *OwnTime() const { return ownTime_; }
    QDoubleSpinBox *Seconds() const { return seconds_; }
    QComboBox *Transition() const { return transition_; }
    QCheckBox *FitToMusic() const { return fit_; }

    // The colour dialog's answer; replaced by tests. Returns an invalid colour when cancelled.
    std::function<QColor(const QColor &current)> askColour;

signals:
    void Edited(const SlideEdit &edit);
    void FitToMusicChanged(bool fit);

private:
    void Report(SlideEdit edit);
    void ReportDuration();
    void ShowColour(const QColor &colour);

    QLabel *heading_;
    QWidget *fields_;
    QPlainTextEdit *text_;
    QFontComboBox *font_;
    QSpinBox *size_;
    QPushButton *colour_;
    QComboBox *position_;
    QComboBox *edge_;
    QCheckBox *ownTime_;
    QDoubleSpinBox *seconds_;
    QComboBox *transition_;
    QCheckBox *fit_;
    QColor shownColour_;
    // Fields being filled from the slides: nothing is reported.
    bool showing_ = false;
};

}  // namespace lumetta
