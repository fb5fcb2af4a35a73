#include "browse/preview_pane.h"

#include "common/arith.h"

#include <QLabel>
#include <QPixmap>

namespace lumetta {

namespace {

constexpr int kMargin = 10;
constexpr int kQuarterAbove = 1000;

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
    : QWidget(parent)
    , image_(new QLabel(this))
{
    image_->hide();
}

void PreviewPane::ShowFile(const QString &path)
{
    Picture picture = Picture::load(path);
    if (picture.kind() == PictureKind::Jpeg
        && (picture.width() > kQuarterAbove || picture.height() > kQuarterAbove))
        picture.setQuarterSize(true);
    picture.decodeNow();
    picture_ = picture;
    Refit();
}

void PreviewPane::Clear()
{
    picture_ = Picture();
    image_->clear();
    image_->hide();
}

QRect PreviewPane::ImageGeometry() const
{
    return image_->isHidden() ? QRect() : image_->geometry();
}

void PreviewPane::Refit()
{
    if (picture_.isNull())
        return;
    const QRect target = FitPreview(picture_.size(), size());
    if (target.isEmpty()) {
        image_->hide();
        return;
    }
    // Scaled once here to device pixels, so painting is a plain copy.
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(
        picture_.scaled(QSize(qRound(target.width() * ratio), qRound(target.height() * ratio))));
    pixmap.setDevicePixelRatio(ratio);
    image_->setPixmap(pixmap);
    image_->setGeometry(target);
    image_->show();
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
