// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/slide_renderer.h"

#include "media/picture.h"
#include "player/caption_layer.h"
#include "player/picture_widget.h"
#include "player/slide_sequencer.h"
#include "show/show_settings.h"

#include <QPainter>

#include <cstring>

namespace lumetta {

SlideRenderer::SlideRenderer(const ShowSettings &settings, QSize screen)
    : screen_(screen),
      panelColour_(Qt::black),
      percent_(settings.PicturePercent()),
      shadow_(settings.Shadow())
{
    const QString caption = settings.Get(ShowSettings::CaptionLine);
    area_ = screen;
    if (caption != QLatin1String("No")) {
        std::optional<QColor> colour;
        if (const std::optional<ColorRef> color = StringToColor(caption))
            colour = ResolveColor(*color);
        captionBar_ = CaptionBarPainter::ForWidth(screen.width(), colour);
        area_.setHeight(std::max(0, screen.height() - kCaptionBarHeight));
    }
    // A fresh player: black panel, tiled background control without a picture.
    const BackgroundSetup background = BuildBackground(settings, screen);
    if (background.kind == BackgroundSetup::Kind::Plain)
        panelColour_ = background.colour;
    const PicturePlacement mode = PlacementMode(settings, PicturePlacement{true, false, false});
    if (!background.picture.isNull())
        background_ = ComposePicture(area_, background.picture, mode);
}

QImage SlideRenderer::BareArea() const
{
    return PaintSlideArea(area_, panelColour_, background_, std::nullopt, QImage());
}

QImage SlideRenderer::ComposeSlide(const QString &path, const StoryCaption &caption) const
{
    const Picture picture = Picture::Load(path);
    const SlideLayout layout = LayOutSlide(picture.size(), screen_, percent_, shadow_);
    QImage area = PaintSlideArea(area_, panelColour_, background_, layout, picture.Scaled(layout.picture.size()));
    DrawCaptionLayer(area, PaintCaptionLayer(caption, area_, layout.picture));
    return area;
}

QImage SlideRenderer::CaptionBar(int index, const QString &path) const
{
    if (captionBar_.IsNull())
        return QImage();
    return captionBar_.Paint(SlideCaption(index, path));
}

QImage SlideRenderer::Frame(const QImage &area, const QImage &captionBar) const
{
    if (captionBar.isNull() && area.size() == screen_ && area.format() == QImage::Format_RGB32)
        return area;
    QImage frame(screen_, QImage::Format_RGB32);
    const QImage rgb = area.format() == QImage::Format_RGB32 ? area : area.convertToFormat(QImage::Format_RGB32);
    const int rowBytes = std::min(rgb.width(), screen_.width()) * 4;
    for (int y = 0; y < area_.height() && y < rgb.height(); ++y)
        std::memcpy(frame.scanLine(y), rgb.constScanLine(y), size_t(rowBytes));
    if (!captionBar.isNull()) {
        for (int y = 0; y < captionBar.height() && area_.height() + y < screen_.height(); ++y)
            std::memcpy(frame.scanLine(area_.height() + y), captionBar.constScanLine(y), size_t(screen_.width()) * 4);
    }
    return frame;
}

}  // namespace lumetta
