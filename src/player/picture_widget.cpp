// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/picture_widget.h"

#include <QPainter>

namespace lumetta {

std::vector<QPoint> TilePositions(QSize control, QSize picture)
{
    std::vector<QPoint> positions;
    if (picture.width() <= 0 || picture.height() <= 0)
        return positions;
    for (int x = 0; x < control.width(); x += picture.width())
        for (int y = 0; y < control.height(); y += picture.height())
            positions.emplace_back(x, y);
    return positions;
}

QRect PlacementTarget(QSize control, QSize picture, const PicturePlacement &mode)
{
    if (mode.at)
        return QRect(*mode.at, picture);
    if (mode.stretch)
        return QRect(QPoint(0, 0), control);
    if (mode.center)
        return QRect(QPoint((control.width() - picture.width()) / 2, (control.height() - picture.height()) / 2),
                     picture);
    return QRect(QPoint(0, 0), picture);
}

QImage ComposePicture(QSize control, const QImage &picture, const PicturePlacement &mode)
{
    if (picture.isNull() || control.isEmpty())
        return QImage();
    if (mode.tiled && !mode.at) {
        QImage offscreen(control, QImage::Format_ARGB32_Premultiplied);
        offscreen.fill(Qt::transparent);
        QPainter painter(&offscreen);
        for (const QPoint &at : TilePositions(control, picture.size()))
            painter.drawImage(at, picture);
        return offscreen;
    }
    QImage shown(control, QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    const QRect target = PlacementTarget(control, picture.size(), mode);
    QPainter painter(&shown);
    if (target.size() == picture.size()) {
        painter.drawImage(target.topLeft(), picture);
    } else {
        painter.drawImage(target.topLeft(),
                          picture.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return shown;
}

PictureWidget::PictureWidget(QWidget *parent) : QWidget(parent)
{
    resize(105, 105);
}

void PictureWidget::SetPicture(const QImage &picture)
{
    picture_ = picture;
    if (autoSize_ && !picture_.isNull())
        FitToPicture();
    Recompose();
}

void PictureWidget::SetTiled(bool tiled)
{
    mode_.tiled = tiled;
    Recompose();
}

void PictureWidget::SetCenter(bool center)
{
    mode_.center = center;
    Recompose();
}

void PictureWidget::SetStretch(bool stretch)
{
    mode_.stretch = stretch;
    Recompose();
}

void PictureWidget::SetDevicePosition(std::optional<QPoint> at)
{
    mode_.at = at;
    Recompose();
}

void PictureWidget::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    if (autoSize_ && !picture_.isNull())
        FitToPicture();
}

void PictureWidget::FitToPicture()
{
    resize((QSizeF(picture_.size()) / devicePixelRatioF()).toSize());
}

const QImage &PictureWidget::Shown() const
{
    // Composed in device pixels, so a high-density screen shows the picture 1:1.
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    if (stale_ || (!shown_.isNull() && shown_.size() != device)) {
        // A picture that covers the control exactly is shown as it is: a moving slide's frames
        // are not copied once more.
        const bool asItIs = Covered()
                            && (picture_.format() == QImage::Format_RGB32
                                || picture_.format() == QImage::Format_ARGB32_Premultiplied);
        shown_ = asItIs ? picture_ : ComposePicture(device, picture_, mode_);
        shown_.setDevicePixelRatio(ratio);
        stale_ = false;
    }
    return shown_;
}

void PictureWidget::paintEvent(QPaintEvent *)
{
    const QImage &shown = Shown();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), shown);
}

void PictureWidget::resizeEvent(QResizeEvent *)
{
    Recompose();
}

bool PictureWidget::Covered() const
{
    const QSize device = (QSizeF(size()) * devicePixelRatioF()).toSize();
    return !mode_.tiled && !picture_.isNull() && picture_.size() == device
           && PlacementTarget(device, picture_.size(), mode_) == QRect(QPoint(0, 0), device);
}

void PictureWidget::Recompose()
{
    stale_ = true;
    // Nothing under an opaque picture that covers the control is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent, Covered() && !picture_.hasAlphaChannel());
    update();
}

}  // namespace lumetta
