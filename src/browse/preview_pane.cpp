// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/preview_pane.h"

#include "browse/motion_overlay.h"
#include "common/arith.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

namespace lumetta {

namespace {

constexpr int kMargin = 10;
// The preview's motion plays at about the rate of a common screen.
constexpr int kPlayFrameMs = 16;

}  // namespace

QRect FitPreview(const QSize &picture, const QSize &panel)
{
    const int w = picture.width();
    const int h = picture.height();
    const int panelWidth = panel.width();
    const int panelHeight = panel.height();
    if (w <= 0 || h <= 0 || panelWidth <= kMargin || panelHeight <= kMargin)
        return QRect();
    const double ratio = double(w) / h;
    int width;
    int height;
    if (ratio > double(panelWidth) / panelHeight) {
        width = panelWidth - kMargin;
        height = int(RoundEven(width / ratio));
    } else {
        height = panelHeight - kMargin;
        width = int(RoundEven(height * ratio));
    }
    const int left = int(RoundEven((panelWidth - width) / 2.0));
    const int top = int(RoundEven((panelHeight - height) / 2.0));
    return QRect(left, top, width, height);
}

PreviewPane::PreviewPane(QWidget *parent)
    : QWidget(parent),
      image_(new QLabel(this)),
      message_(new QLabel(this)),
      overlay_(new MotionOverlay(this)),
      playTimer_(new QTimer(this))
{
    image_->hide();
    overlay_->hide();
    playTimer_->setInterval(kPlayFrameMs);
    connect(playTimer_, &QTimer::timeout, this, &PreviewPane::ShowMotionFrame);
    message_->setObjectName(QStringLiteral("PreviewMessage"));
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    message_->setTextFormat(Qt::PlainText);
    message_->setAutoFillBackground(true);
    message_->setMargin(6);
    QPalette colours = message_->palette();
    colours.setColor(QPalette::Window, QColor(0, 0, 0, 170));
    colours.setColor(QPalette::WindowText, Qt::white);
    message_->setPalette(colours);
    message_->hide();
}

void PreviewPane::ShowFile(const QString &path)
{
    const QFileInfo info(path);
    if (HasPicture() && path == path_ && info.lastModified() == modified_ && info.size() == bytes_)
        return;
    StopMotion();
    const PictureReader::Result result = PictureReader::ForPreview(path);
    status_ = result.status;
    path_ = path;
    modified_ = info.lastModified();
    bytes_ = info.size();
    picture_ = result.picture;
    switch (result.status) {
    case PictureReader::Status::Ok:
        ShowMessage(QString());
        break;
    case PictureReader::Status::Damaged:
        ShowMessage(
            QStringLiteral("Damaged picture: only part of %1 could be read (%2)").arg(info.fileName(), result.reason));
        break;
    case PictureReader::Status::Missing:
    case PictureReader::Status::Unreadable:
        ShowMessage(QStringLiteral("Cannot load picture %1: %2").arg(path, result.reason));
        break;
    }
    if (picture_.IsNull())
        image_->hide();
    Refit();
    emit Decoded(path);
}

void PreviewPane::Clear()
{
    StopMotion();
    picture_ = Picture();
    status_ = PictureReader::Status::Ok;
    path_.clear();
    scaled_ = QImage();
    shown_ = QImage();
    image_->clear();
    image_->hide();
    overlay_->hide();
    ShowMessage(QString());
}

QString PreviewPane::Message() const
{
    return message_->text();
}

QRect PreviewPane::ImageGeometry() const
{
    return image_->isHidden() ? QRect() : image_->geometry();
}

void PreviewPane::ShowMessage(const QString &text)
{
    message_->setText(text);
    message_->setToolTip(text);
    message_->setVisible(!text.isEmpty());
}

void PreviewPane::Refit()
{
    // An error fills the panel; a damage note sits along its bottom edge, over the picture.
    const int height = picture_.IsNull() ? this->height() : std::min(this->height(), message_->heightForWidth(width()));
    message_->setGeometry(0, this->height() - height, width(), height);
    if (picture_.IsNull())
        return;
    const QRect target = FitPreview(picture_.size(), size());
    if (target.isEmpty()) {
        image_->hide();
        overlay_->hide();
        return;
    }
    // Scaled once here to device pixels, so painting is a plain copy.
    const qreal ratio = devicePixelRatioF();
    scaled_ = picture_.Scaled(QSize(qRound(target.width() * ratio), qRound(target.height() * ratio)));
    ShowComposed();
    image_->setGeometry(target);
    image_->show();
    PlaceOverlay();
    message_->raise();
}

void PreviewPane::PlaceOverlay()
{
    overlay_->setGeometry(image_->geometry());
    overlay_->setVisible(motion_ && !image_->isHidden() && !PlayingMotion());
    overlay_->raise();
}

void PreviewPane::SetMotion(const std::optional<SlideMotion> &motion)
{
    motion_ = motion;
    if (motion_)
        overlay_->SetMotion(*motion_);
    if (!picture_.IsNull())
        PlaceOverlay();
}

void PreviewPane::PlayMotion(const SlideMotion &motion, double durationMs)
{
    if (scaled_.isNull() || picture_.IsNull())
        return;
    // Prepared from the decoded picture at the detail the motion wants, as the player prepares it.
    const QSize source = MotionFrames::SourceSize(picture_.size(), scaled_.size(), MotionFrames::DetailFor(motion));
    playing_ = MotionFrames(picture_.Scaled(source), scaled_.size(), motion, durationMs);
    playingCaption_ = PaintCaptionLayer(caption_, scaled_.size());
    playClock_.start();
    playedMs_ = 0;
    playTimer_->start();
    PlaceOverlay();
    ShowMotionFrame();
}

void PreviewPane::StopMotion()
{
    if (!PlayingMotion())
        return;
    playTimer_->stop();
    playing_ = MotionFrames();
    if (!scaled_.isNull())
        ShowComposed();
    PlaceOverlay();
}

bool PreviewPane::PlayingMotion() const
{
    return playTimer_->isActive();
}

void PreviewPane::ShowMotionFrame()
{
    playedMs_ = std::min(double(playClock_.elapsed()), playing_.DurationMs());
    QImage frame = playing_.FrameAt(playedMs_).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    DrawCaptionLayer(frame, playingCaption_);
    QPixmap pixmap = QPixmap::fromImage(frame);
    pixmap.setDevicePixelRatio(devicePixelRatioF());
    image_->setPixmap(pixmap);
    if (playedMs_ >= playing_.DurationMs())
        StopMotion();
}

void PreviewPane::SetCaption(const StoryCaption &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    if (!scaled_.isNull() && !picture_.IsNull())
        ShowComposed();
}

void PreviewPane::ShowComposed()
{
    shown_ = scaled_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    DrawCaptionLayer(shown_, PaintCaptionLayer(caption_, shown_.size()));
    QPixmap pixmap = QPixmap::fromImage(shown_);
    pixmap.setDevicePixelRatio(devicePixelRatioF());
    image_->setPixmap(pixmap);
}

void PreviewPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Refit();
}

void PreviewPane::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Refit();
}

}  // namespace lumetta
