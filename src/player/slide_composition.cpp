// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/slide_composition.h"

#include "common/arith.h"
#include "media/picture.h"
#include "player/picture_widget.h"
#include "show/show_settings.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace lumetta {

QSize SlideSize(QSize picture, QSize screen, std::optional<int> percent)
{
    if (!percent || *percent <= 0)
        return picture;
    const SlideRect extent = SlideExtent(picture.width(), picture.height(), screen.width(), screen.height(), *percent);
    return QSize(extent.width, extent.height);
}

QPoint SlidePosition(QSize slide, QSize screen)
{
    const SlideRect placed = PlaceSlide(slide.width(), slide.height(), screen.width(), screen.height(), 0, false).picture;
    return QPoint(placed.left, placed.top);
}

QImage ShadowOf(const QImage &picture)
{
    if (!picture.hasAlphaChannel()) {
        QImage box(picture.size(), QImage::Format_RGB32);
        box.fill(kShadowColor);
        return box;
    }
    QImage shape = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shape.rect(), QColor::fromRgb(kShadowColor));
    return shape;
}

SlideLayout LayOutSlide(QSize picture, QSize screen, std::optional<int> percent, bool shadow)
{
    const SlideGeometry geometry = PlaceSlide(picture.width(), picture.height(), screen.width(), screen.height(),
                                              percent ? std::max(*percent, 0) : 0, shadow);
    const auto toRect = [](const SlideRect &r) { return QRect(r.left, r.top, r.width, r.height); };
    SlideLayout layout{toRect(geometry.picture), std::nullopt};
    if (geometry.hasShadow)
        layout.shadow = toRect(geometry.shadow);
    return layout;
}

void GradientRect(const QColor &from, const QColor &to, QPainter &canvas)
{
    const QRect clip = canvas.hasClipping()
                           ? canvas.clipBoundingRect().toAlignedRect()
                           : QRect(QPoint(0, 0), QSize(canvas.device()->width(), canvas.device()->height()));
    const int width = clip.width();
    const int height = clip.height();
    const int red = from.red(), green = from.green(), blue = from.blue();
    const int dr = to.red() - red, dg = to.green() - green, db = to.blue() - blue;

    canvas.save();
    canvas.setPen(Qt::NoPen);
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    for (int i = 0; i < 256; ++i) {
        const int top = MulDiv(i, height, 256);
        const int bottom = MulDiv(i + 1, height, 256);
        const QColor colour(red + MulDiv(i, dr, 255), green + MulDiv(i, dg, 255), blue + MulDiv(i, db, 255));
        canvas.fillRect(QRect(0, top, width, bottom - top), colour);
    }
    canvas.restore();
}

QImage GradientBitmap(QSize size, const QColor &from, const QColor &to)
{
    QImage bitmap(size, QImage::Format_RGB32);
    QPainter painter(&bitmap);
    GradientRect(from, to, painter);
    return bitmap;
}

QImage PaintSlideArea(QSize area, const QColor &panel, const QImage &background,
                      const std::optional<SlideLayout> &slide, const QImage &picture)
{
    QImage image(area, QImage::Format_RGB32);
    image.fill(panel);
    QPainter painter(&image);
    if (!background.isNull())
        painter.drawImage(QPoint(0, 0), background);
    if (slide) {
        if (slide->shadow) {
            if (picture.isNull())
                painter.fillRect(*slide->shadow, QColor::fromRgb(kShadowColor));
            else
                painter.drawImage(slide->shadow->topLeft(), ShadowOf(picture));
        }
        if (!picture.isNull())
            painter.drawImage(slide->picture.topLeft(), picture);
    }
    return image;
}

namespace {

QColor ColourFromText(const QString &text)
{
    return ResolveColor(StringToColor(text).value_or(kClBlack));
}

}  // namespace

BackgroundSetup BuildBackground(const ShowSettings &settings, QSize screen)
{
    BackgroundSetup setup;
    if (settings.BackgroundColored()) {
        const BackgroundColorTexts texts = settings.BackgroundColors();
        if (texts.IsPlain()) {
            setup.kind = BackgroundSetup::Kind::Plain;
            setup.colour = ColourFromText(texts.top);
        } else {
            setup.kind = BackgroundSetup::Kind::Gradient;
            setup.picture = GradientBitmap(screen, ColourFromText(texts.top), ColourFromText(texts.bottom));
        }
    } else if (settings.BackgroundFromFile()) {
        setup.kind = BackgroundSetup::Kind::Picture;
        setup.picture = Picture::Load(settings.BackgroundFile()).Image();
    }
    return setup;
}

PicturePlacement PlacementMode(const ShowSettings &settings, PicturePlacement current)
{
    const std::optional<ShowSettings::Placement> placement = settings.BackgroundPlacement();
    if (!placement)
        return current;
    switch (*placement) {
    case ShowSettings::Placement::Tile:
        current.tiled = true;
        return current;
    case ShowSettings::Placement::Center:
        return PicturePlacement{false, true, false};
    case ShowSettings::Placement::Stretch:
        return PicturePlacement{false, false, true};
    }
    return current;
}

}  // namespace lumetta
