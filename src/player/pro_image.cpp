#include "player/pro_image.h"

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

QRect ProImageTarget(QSize control, QSize picture, const ProImageMode &mode)
{
    if (mode.stretch)
        return QRect(QPoint(0, 0), control);
    if (mode.center)
        return QRect(QPoint((control.width() - picture.width()) / 2, (control.height() - picture.height()) / 2), picture);
    return QRect(QPoint(0, 0), picture);
}

QImage ComposeProImage(QSize control, const QImage &picture, const ProImageMode &mode)
{
    if (picture.isNull() || control.isEmpty())
        return QImage();
    if (mode.tiled) {
        QImage offscreen(control, QImage::Format_ARGB32_Premultiplied);
        offscreen.fill(Qt::transparent);
        QPainter painter(&offscreen);
        for (const QPoint &at : TilePositions(control, picture.size()))
            painter.drawImage(at, picture);
        return offscreen;
    }
    QImage shown(control, QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    const QRect target = ProImageTarget(control, picture.size(), mode);
    QPainter painter(&shown);
    if (target.size() == picture.size()) {
        painter.drawImage(target.topLeft(), picture);
    } else {
        painter.drawImage(target.topLeft(),
                          picture.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return shown;
}

TProImage::TProImage(QWidget *parent) : QWidget(parent)
{
    resize(105, 105);
}

void TProImage::SetPicture(const QImage &picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull())
        FitToPicture();
    Recompose();
}

void TProImage::SetTiled(bool tiled)
{
    m_mode.tiled = tiled;
    Recompose();
}

void TProImage::SetCenter(bool center)
{
    m_mode.center = center;
    Recompose();
}

void TProImage::SetStretch(bool stretch)
{
    m_mode.stretch = stretch;
    Recompose();
}

void TProImage::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_autoSize && !m_picture.isNull())
        FitToPicture();
}

void TProImage::FitToPicture()
{
    resize((QSizeF(m_picture.size()) / devicePixelRatioF()).toSize());
}

const QImage &TProImage::Shown() const
{
    // Composed in device pixels, so a high-density screen shows the picture 1:1.
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    if (m_stale || (!m_shown.isNull() && m_shown.size() != device)) {
        m_shown = ComposeProImage(device, m_picture, m_mode);
        m_shown.setDevicePixelRatio(ratio);
        m_stale = false;
    }
    return m_shown;
}

void TProImage::paintEvent(QPaintEvent *)
{
    const QImage &shown = Shown();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), shown);
}

void TProImage::resizeEvent(QResizeEvent *)
{
    Recompose();
}

void TProImage::Recompose()
{
    m_stale = true;
    update();
}

}  // namespace lumetta
