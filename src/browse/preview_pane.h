// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browse/picture_reader.h"
#include "common/slide_motion.h"
#include "media/picture.h"
#include "player/caption_layer.h"
#include "player/motion_frames.h"
#include "show/story_caption.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QRect>
#include <QSize>
#include <QWidget>

class QLabel;
class QTimer;

namespace lumetta {

class MotionOverlay;

// Where a picture goes in the preview panel: 10 pixels narrower (or lower) than the panel along
// the side it fills, the other side kept in proportion, centred; ratios in floating point and
// every rounding to the nearest integer with ties to even. Empty when the panel has no room
// (10 pixels or less in either direction) or the picture is empty.
QRect FitPreview(const QSize &picture, const QSize &panel);

// The preview panel: one picture, scaled once to the fitted size and refitted when the panel
// is resized. Large JPEGs (over 1000 pixels a side) are decoded at a quarter of each side. A
// file that cannot be read shows why in the panel; a JPEG that ends early shows what could be
// decoded, marked as damaged.
class PreviewPane : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewPane(QWidget *parent = nullptr);

    // Shows a picture file of any kind the loader reads, or the reason it cannot be shown. The
    // file already shown, unchanged since, is not decoded again.
    void ShowFile(const QString &path);
    // No picture, no message.
    void Clear();
    // Draws CAPTION over the picture as a slide shows it, the picture standing for the screen;
    // an empty caption draws nothing.
    void SetCaption(const StoryCaption &caption);
    const StoryCaption &Caption() const { return caption_; }
    // Draws MOTION's rectangles over the picture for editing; none hides them.
    void SetMotion(const std::optional<SlideMotion> &motion);
    MotionOverlay *Overlay() const { return overlay_; }
    // Plays MOTION over the picture for DURATION_MS, as a slide shows it, then shows the
    // rectangles again.
    void PlayMotion(const SlideMotion &motion, double durationMs);
    void StopMotion();
    bool PlayingMotion() const;
    // How far the motion played has come, in milliseconds.
    double MotionPlayedMs() const { return playedMs_; }
    // What the panel's picture shows, caption included (device pixels); null without a picture.
    QImage ShownImage() const { return shown_; }

    bool HasPicture() const { return !picture_.IsNull(); }
    // The picture shown, at the size it was decoded.
    const Picture &CurrentPicture() const { return picture_; }
    PictureReader::Status Status() const { return status_; }
    // What the panel says about the file: why it cannot be shown or how it is damaged; empty
    // when it shows a sound picture or nothing.
    QString Message() const;
    // Where the picture is drawn within the panel; empty when nothing is drawn.
    QRect ImageGeometry() const;

signals:
    // A file was read and decoded for the panel.
    void Decoded(const QString &path);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Refit();
    // Shows the scaled picture with the caption over it.
    void ShowComposed();
    void ShowMessage(const QString &text);
    void ShowMotionFrame();
    void PlaceOverlay();

    Picture picture_;
    PictureReader::Status status_ = PictureReader::Status::Ok;
    QString path_;  // the file shown, and how it was when read
    QDateTime modified_;
    qint64 bytes_ = -1;
    StoryCaption caption_;
    QImage scaled_;
    QImage shown_;
    QLabel *image_;
    QLabel *message_;
    MotionOverlay *overlay_;
    std::optional<SlideMotion> motion_;
    // The motion being played: its frames, clock and timer, the caption drawn over them.
    MotionFrames playing_;
    CaptionLayer playingCaption_;
    QElapsedTimer playClock_;
    QTimer *playTimer_;
    double playedMs_ = 0;
};

}  // namespace lumetta
