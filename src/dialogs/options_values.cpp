// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_values.h"

#include "media/picture_extensions.h"

#include <QFileInfo>

namespace lumetta {

namespace {

constexpr const char *kViewerFilterText =
    "Bmp, jpeg, gif|*.bmp;*jpg;*.gif|Bmp, jpeg|*.bmp;*jpg|Bmp, gif|*.bmp;*.gif|Jpeg, gif|*jpg;*.gif|"
    "Jpeg|*jpg|Gif|*.gif";

void LoadColor(const QString &text, ColorRef &color)
{
    if (const std::optional<ColorRef> read = StringToColor(text))
        color = *read;
}

}  // namespace

QList<ViewerFilter> ViewerFilters()
{
    const QStringList parts = QString::fromLatin1(kViewerFilterText).split(u'|');
    // First and chosen at creation: the folder panel's own mask, so OK keeps every picture listed.
    QList<ViewerFilter> filters{{QStringLiteral("All pictures"), AcceptedPictureMask()}};
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append({parts[i], parts[i + 1]});
    return filters;
}

QString SoundFileFilter()
{
    return QStringLiteral("Sound files (*.cda *.wav *.wave *.mp3 *.mid *.midi *.kar *wma *.ogg *.oga *.opus *.flac "
                          "*.m4a *.aac)");
}

QString GraphicFileFilter()
{
    return QStringLiteral("Graphic files (*.bmp *.gif *.jpg *.jpeg *.png *.webp *.tif *.tiff *.heic *.heif *.avif)");
}

QStringList PlacementWords()
{
    return {QStringLiteral("Tile"), QStringLiteral("Center"), QStringLiteral("Stretch")};
}

void LoadOptions(const ShowSettings &settings, OptionsValues &values)
{
    const std::optional<int> seconds = settings.AdvanceSeconds();
    values.automaticAdvance = seconds.has_value();
    if (seconds)
        values.seconds = *seconds;

    const std::optional<int> percent = settings.PicturePercent();
    values.fitToScreen = percent.has_value();
    if (percent)
        values.percent = *percent;

    const QString effects = settings.Get(ShowSettings::EffectsLine);
    if (effects == QLatin1String("No effect"))
        values.randomEffects = false;
    else if (effects == QLatin1String("Random"))
        values.randomEffects = true;

    const QString music = settings.Get(ShowSettings::MusicLine);
    values.playMusic = music != QLatin1String("No music");
    if (!values.playMusic || music == QLatin1String("NoRepeat"))
        values.repeatMusic = false;
    else if (music == QLatin1String("RepeatMusic"))
        values.repeatMusic = true;

    if (settings.BackgroundFromFile()) {
        values.backgroundImage = true;
        values.backgroundFile = settings.BackgroundFile();
        const int placement = PlacementWords().indexOf(settings.Get(ShowSettings::PlacementLine));
        if (placement >= 0)
            values.placement = placement;
    }
    if (settings.BackgroundColored()) {
        values.backgroundImage = false;
        const BackgroundColorTexts colors = settings.BackgroundColors();
        LoadColor(colors.top, values.topColor);
        LoadColor(colors.bottom, values.bottomColor);
    }

    values.loop = settings.Looping();

    const QString caption = settings.Get(ShowSettings::CaptionLine);
    values.showCaption = caption != QLatin1String("No");
    if (values.showCaption)
        LoadColor(caption, values.captionColor);

    values.shadow = settings.Shadow();
}

bool BackgroundChoiceValid(const OptionsValues &values)
{
    return !values.backgroundImage || QFileInfo(values.backgroundFile).isFile();
}

void WriteOptions(const OptionsValues &values, ShowSettings &settings, QStringList &playlist)
{
    settings.Put(ShowSettings::AdvanceLine,
                 values.automaticAdvance ? QString::number(values.seconds) : QStringLiteral("Manual"));
    settings.Put(ShowSettings::PictureSizeLine,
                 values.fitToScreen ? QString::number(values.percent) : QStringLiteral("No"));
    settings.Put(ShowSettings::EffectsLine,
                 values.randomEffects ? QStringLiteral("Random") : QStringLiteral("No effect"));
    if (values.playMusic) {
        settings.Put(ShowSettings::MusicLine,
                     values.repeatMusic ? QStringLiteral("RepeatMusic") : QStringLiteral("NoRepeat"));
    } else {
        settings.Put(ShowSettings::MusicLine, QStringLiteral("No music"));
        playlist.clear();
    }
    if (!values.backgroundImage) {
        settings.Put(ShowSettings::BackgroundKindLine, QStringLiteral("Color"));
        settings.Put(ShowSettings::BackgroundLine,
                     ColorToString(values.topColor) + u'_' + ColorToString(values.bottomColor));
    } else {
        settings.Put(ShowSettings::BackgroundLine, values.backgroundFile);
        settings.Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
        const QStringList words = PlacementWords();
        if (values.placement >= 0 && values.placement < words.size())
            settings.Put(ShowSettings::PlacementLine, words[values.placement]);
    }
    settings.Put(ShowSettings::LoopingLine, values.loop ? QStringLiteral("Loop") : QStringLiteral("No"));
    settings.Put(ShowSettings::CaptionLine,
                 values.showCaption ? ColorToString(values.captionColor) : QStringLiteral("No"));
    settings.Put(ShowSettings::ShadowLine, values.shadow ? QStringLiteral("Shadow") : QStringLiteral("No"));
}

}  // namespace lumetta
