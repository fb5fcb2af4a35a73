// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <optional>
#include <vector>

namespace lumetta {

// How PictureWidget places its picture.
struct PicturePlacement
{
    bool tiled = false;
    bool center = false;
    bool stretch = false;
    // When set, the picture is drawn unscaled with its top-left corner at this device pixel of
    // the control, whatever the other choices say: how a slide already scaled to its device
    // rectangle keeps every pixel on a screen whose widgets lie on whole logical pixels.
    std::optional<QPoint> at;
};

// Top-left corners of the tiles that cover a control with copies of a picture, in drawing
// order (columns left to right, each column top to bottom). None for an empty picture.
std::vector<QPoint> TilePositions(QSize control, QSize picture);

// The rectangle an untiled picture is drawn into: the whole control when stretching, centred
// (halves truncated toward zero) when centring, else at the top-left at its own size.
QRect PlacementTarget(QSize control, QSize picture, const PicturePlacement &mode);

// What the control shows, as one image of the control's size: the tiles drawn off-screen, or
// the picture scaled into its target over transparency (the panel's colour shows around it).
QImage ComposePicture(QSize control, const QImage &picture, const PicturePlacement &mode);

// A picture control: tiles, centres or stretches its picture. The shown image is composed
// once whenever the picture, the mode or the size changes, so painting only copies it.
class PictureWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PictureWidget(QWidget *parent = nullptr);

    const QImage &Picture() const { return picture_; }
    // Assigning copies; an empty image clears the control.
    void SetPicture(const QImage &picture);
    bool Tiled() const { return mode_.tiled; }
    void SetTiled(bool tiled);
    bool Center() const { return mode_.center; }
    void SetCenter(bool center);
    bool Stretch() const { return mode_.stretch; }
    void SetStretch(bool stretch);
    // When on, the control takes the picture's size.
    void SetAutoSize(bool autoSize);
    void SetDevicePosition(std::optional<QPoint> at);

    // The composed image as painted (device pixels); null without a picture.
    const QImage &Shown() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Recompose();
    // The picture lies exactly over the whole control.
    bool Covered() const;
    void FitToPicture();

    QImage picture_;
    PicturePlacement mode_;
    bool autoSize_ = false;
    // Composed on demand after a change (a hidden widget gets no resize events).
    mutable QImage shown_;
    mutable bool stale_ = true;
};

}  // namespace lumetta
