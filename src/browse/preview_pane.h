#pragma once

#include "media/picture.h"

#include <QRect>
#include <QSize>
#include <QWidget>

class QLabel;

namespace lumetta {

// Where a picture goes in the preview panel: 10 pixels narrower (or lower) than the panel along
// the side it fills, the other side kept in proportion, centred; ratios in floating point and
// every rounding to the nearest integer with ties to even. Empty when the panel has no room
// (10 pixels or less in either direction) or the picture is empty.
QRect FitPreview(const QSize &picture, const QSize &panel);

// The preview panel: one picture, scaled once to the fitted size and refitted when the panel
// is resized. Large JPEGs (over 1000 pixels a side) are decoded at a quarter of each side.
class PreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPane(QWidget *parent = nullptr);

    // Loads and shows a BMP, JPEG or GIF file. Throws PictureError (the shown picture stays).
    void ShowFile(const QString &path);
    // No picture.
    void Clear();

    bool HasPicture() const { return !picture_.isNull(); }
    // The picture shown, at the size it was decoded.
    const Picture &CurrentPicture() const { return picture_; }
    // Where the picture is drawn within the panel; empty when nothing is drawn.
    QRect ImageGeometry() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Refit();

    Picture picture_;
    QLabel *image_;
};

}  // namespace lumetta
