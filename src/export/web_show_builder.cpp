// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/web_show_builder.h"

#include "media/picture.h"
#include "media/picture_error.h"
#include "media/playlist_length.h"
#include "player/core_effect_settings.h"
#include "player/effect_catalogue.h"
#include "player/picture_widget.h"
#include "player/slide_composition.h"
#include "show/input_file.h"
#include "show/project_file.h"
#include "show/show_project.h"
#include "show/slide_details.h"
#include "transitions/engine/transition_effect.h"
#include "transitions/engine/transition_list.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

static void InitWebPageResource()
{
    // The page's parts live in a static library's resources, so they are registered by hand.
    Q_INIT_RESOURCE(web_page);
}

namespace lumetta {

namespace {

// What browsers play as it is, by extension.
const QList<std::pair<QString, QString>> kMusicTypes = {
    {QStringLiteral("mp3"), QStringLiteral("audio/mpeg")}, {QStringLiteral("ogg"), QStringLiteral("audio/ogg")},
    {QStringLiteral("oga"), QStringLiteral("audio/ogg")},  {QStringLiteral("opus"), QStringLiteral("audio/ogg")},
    {QStringLiteral("m4a"), QStringLiteral("audio/mp4")},  {QStringLiteral("aac"), QStringLiteral("audio/aac")},
    {QStringLiteral("wav"), QStringLiteral("audio/wav")},  {QStringLiteral("wave"), QStringLiteral("audio/wav")},
    {QStringLiteral("flac"), QStringLiteral("audio/flac")},
};

QString ResourceText(const QString &name)
{
    QFile file(QStringLiteral(":/web/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The CSP source that lets exactly this inline text run.
QString HashSource(const QString &text)
{
    return QStringLiteral("'sha256-%1'")
        .arg(QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toBase64()));
}

QString ColourText(ColorRef colour)
{
    return ResolveColor(colour).name(QColor::HexRgb);
}

QString ColourText(const QString &text)
{
    return ColourText(StringToColor(text).value_or(kClBlack));
}

struct EncodedPicture
{
    QString type;
    QByteArray bytes;
    // The upright picture's own size, which the slide's place is computed from, as the player does.
    QSize original;
};

// PICTURE within BOUND (never enlarged) as JPEG, or WebP where it has transparency to keep.
EncodedPicture Encode(const Picture &picture, QSize bound, int quality)
{
    QImage image = picture.ReducedWithin(bound).Image();
    if (image.width() > bound.width() || image.height() > bound.height())
        image = image.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const bool transparent = image.hasAlphaChannel();
    EncodedPicture encoded{transparent ? QStringLiteral("image/webp") : QStringLiteral("image/jpeg"), {},
                           picture.size()};
    QBuffer buffer(&encoded.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, transparent ? "webp" : "jpeg");
    writer.setQuality(quality);
    if (!writer.write(transparent ? image : image.convertToFormat(QImage::Format_RGB32)))
        throw PictureError(picture.Name(), QStringLiteral("cannot be encoded (%1)").arg(writer.errorString()));
    return encoded;
}

QJsonArray EffectsJson()
{
    TTransitionList catalogue;
    LoadEffectCatalogue(catalogue, false);
    QJsonArray effects;
    for (int entry = 0; entry < catalogue.Count(); ++entry) {
        const TTransitionEffect &effect = *catalogue.Items(entry);
        const TransitionSettings s = CoreSettingsOf(effect).value_or(TransitionSettings{});
        // In the order the core's entry point takes them.
        effects.append(QJsonObject{{QStringLiteral("settings"),
                                    QJsonArray{int(s.kind), int(s.direction), s.bandWidth, s.dissolve, s.style,
                                               s.subStyle, s.reversed, s.cols, s.rows, s.blockWidth, s.blockHeight,
                                               s.puzzle}},
                                   {QStringLiteral("milliseconds"), effect.Milliseconds()},
                                   {QStringLiteral("name"), EffectDisplayName(entry)}});
    }
    return effects;
}

QString PlacementName(const PicturePlacement &placement)
{
    if (placement.tiled)
        return QStringLiteral("tile");
    if (placement.stretch)
        return QStringLiteral("stretch");
    return placement.center ? QStringLiteral("center") : QStringLiteral("corner");
}

// A slide's own time, transition and caption, as the page's player takes them.
void AddDetails(const SlideDetails &details, QJsonObject &slide)
{
    if (details.durationMs)
        slide.insert(QStringLiteral("durationMs"), *details.durationMs);
    if (details.transition.kind == SlideTransition::Kind::None) {
        slide.insert(QStringLiteral("transition"), QStringLiteral("none"));
    } else if (details.transition.kind == SlideTransition::Kind::Effect) {
        // A name this catalogue does not know plays as random, as in the player.
        if (const std::optional<int> effect = EffectNumberOfStoredName(details.transition.effect))
            slide.insert(QStringLiteral("transition"), *effect);
    }
    const StoryCaption &caption = details.caption;
    if (caption.text.trimmed().isEmpty())
        return;
    static const char *const kPositions[] = {"top", "middle", "bottom"};
    slide.insert(QStringLiteral("caption"),
                 QJsonObject{{QStringLiteral("text"), caption.text},
                             {QStringLiteral("font"), caption.font},
                             {QStringLiteral("size"), caption.size},
                             {QStringLiteral("colour"), caption.colour.name(QColor::HexRgb)},
                             {QStringLiteral("position"), QLatin1String(kPositions[int(caption.position)])},
                             {QStringLiteral("outline"), caption.edge == StoryCaption::Edge::Outline}});
}

// A data block the page's script reads; base64 holds no character that could end the element.
QString DataBlock(const QString &id, const QString &type, const QByteArray &bytes)
{
    return QStringLiteral("<script type=\"application/octet-stream\" id=\"%1\" data-type=\"%2\">%3</script>\n")
        .arg(id, type, QString::fromLatin1(bytes.toBase64()));
}

// TEMPLATE with each {{NAME}} replaced once, in order, by its part; parts are not searched again.
QString Fill(const QString &pageTemplate, const QList<std::pair<QString, QString>> &parts)
{
    QString page;
    qsizetype from = 0;
    for (const auto &part : parts) {
        const QString marker = QStringLiteral("{{%1}}").arg(part.first);
        const qsizetype at = pageTemplate.indexOf(marker, from);
        if (at < 0)
            continue;
        page += QStringView(pageTemplate).mid(from, at - from);
        page += part.second;
        from = at + marker.size();
    }
    page += QStringView(pageTemplate).mid(from);
    return page;
}

}  // namespace

WebShowBuilder::WebShowBuilder(const ShowProject &project, const WebShowOptions &options)
    : project_(project),
      options_(options)
{
    InitWebPageResource();
}

std::optional<QString> WebShowBuilder::TargetProblem(const ShowProject &project, const QString &target)
{
    const QString suffix = QFileInfo(target).suffix().toLower();
    if (suffix != QLatin1String("html") && suffix != QLatin1String("htm"))
        return QStringLiteral("Cannot write %1: the name must end in .html or .htm").arg(target);
    if (const std::optional<QString> problem = ReplacementFile::TargetProblem(target))
        return QStringLiteral("Cannot write %1: %2").arg(target, *problem);
    if (const std::optional<QString> role = project.OwnFileRole(target))
        return QStringLiteral("Cannot write %1: it is %2").arg(target, *role);
    return std::nullopt;
}

WebShowBuilder::Outcome WebShowBuilder::Build(const std::function<bool(int, int)> &progress)
{
    page_.clear();
    notes_.clear();
    error_.clear();
    const ShowSettings &settings = project_.Settings();
    const QStringList &pictures = project_.Pictures();
    const bool music = settings.MusicOn();
    const int total = int(pictures.size()) + (music ? int(project_.Playlist().size()) : 0)
                      + (settings.BackgroundFromFile() ? 1 : 0);
    int done = 0;
    const auto advance = [&] { return !progress || progress(++done, total); };
    const QSize bound = options_.maxSize;
    const int quality = std::clamp(options_.quality, 1, 100);

    // Times fitted to the music are worked out here, where the tracks can be measured, as the
    // player works them out; a manual show stays manual.
    QList<std::int64_t> fitted;
    if (project_.Story().FitToMusic() && music && settings.AdvanceSeconds())
        fitted = project_.Story().Durations(int(pictures.size()), std::int64_t(*settings.AdvanceSeconds()) * 1000,
                                            PlaylistLengthMs(project_.Playlist()));

    QString data;
    QJsonArray slides;
    for (const QString &path : pictures) {
        try {
            const EncodedPicture encoded = Encode(Picture::Load(path), bound, quality);
            const QString id = QStringLiteral("p%1").arg(slides.size());
            data += DataBlock(id, encoded.type, encoded.bytes);
            const int index = int(&path - pictures.data());
            QJsonObject slide{{QStringLiteral("data"), id},
                              {QStringLiteral("name"), QFileInfo(path).fileName()},
                              {QStringLiteral("number"), index + 1},
                              {QStringLiteral("width"), encoded.original.width()},
                              {QStringLiteral("height"), encoded.original.height()}};
            AddDetails(project_.Story().Slide(index), slide);
            if (!fitted.isEmpty())
                slide.insert(QStringLiteral("durationMs"), qint64(fitted[index]));
            slides.append(slide);
        } catch (const PictureError &e) {
            notes_ << QStringLiteral("left out: %1").arg(e.Message());
        }
        if (!advance())
            return Outcome::Cancelled;
    }
    if (slides.isEmpty()) {
        error_ = QStringLiteral("None of the show's pictures can be read");
        return Outcome::Failed;
    }

    QJsonObject background{{QStringLiteral("kind"), QStringLiteral("none")}};
    if (settings.BackgroundColored()) {
        const BackgroundColorTexts texts = settings.BackgroundColors();
        background = {{QStringLiteral("kind"), texts.IsPlain() ? QStringLiteral("plain") : QStringLiteral("gradient")},
                      {QStringLiteral("top"), ColourText(texts.top)},
                      {QStringLiteral("bottom"), ColourText(texts.bottom)}};
    } else if (settings.BackgroundFromFile()) {
        try {
            const EncodedPicture encoded = Encode(Picture::Load(settings.BackgroundFile()), bound, quality);
            data += DataBlock(QStringLiteral("background"), encoded.type, encoded.bytes);
            background = {{QStringLiteral("kind"), QStringLiteral("picture")},
                          {QStringLiteral("data"), QStringLiteral("background")}};
        } catch (const PictureError &e) {
            notes_ << QStringLiteral("background left out: %1").arg(e.Message());
        }
        if (!advance())
            return Outcome::Cancelled;
    }
    // The background control starts tiled; line 7 changes that.
    PicturePlacement tiled;
    tiled.tiled = true;
    background.insert(QStringLiteral("placement"), PlacementName(PlacementMode(settings, tiled)));

    QJsonArray tracks;
    if (music) {
        for (const QString &path : project_.Playlist()) {
            const QString suffix = QFileInfo(path).suffix().toLower();
            const auto type = std::find_if(kMusicTypes.begin(), kMusicTypes.end(),
                                           [&suffix](const auto &known) { return known.first == suffix; });
            if (type == kMusicTypes.end()) {
                notes_ << QStringLiteral("left out: %1: browsers do not play .%2 files").arg(path, suffix);
            } else {
                try {
                    InputFile file(path);
                    const QByteArray bytes = file.Read(file.Size());
                    const QString id = QStringLiteral("m%1").arg(tracks.size());
                    data += DataBlock(id, type->second, bytes);
                    tracks.append(QJsonObject{{QStringLiteral("data"), id},
                                              {QStringLiteral("name"), QFileInfo(path).fileName()}});
                } catch (const ProjectError &e) {
                    notes_ << QStringLiteral("left out: %1").arg(QString::fromUtf8(e.what()));
                }
            }
            if (!advance())
                return Outcome::Cancelled;
        }
    }

    const std::optional<int> advanceSeconds = settings.AdvanceSeconds();
    const std::optional<ColorRef> captionColour = settings.CaptionColor();
    const QJsonObject show{
        {QStringLiteral("advanceMs"), advanceSeconds ? *advanceSeconds * 1000 : 0},
        {QStringLiteral("percent"), settings.PicturePercent().value_or(0)},
        {QStringLiteral("effectsOn"), settings.EffectsOn()},
        {QStringLiteral("looping"), settings.Looping()},
        {QStringLiteral("shadow"), settings.Shadow()},
        {QStringLiteral("repeatMusic"), settings.RepeatMusic()},
        {QStringLiteral("captionBar"), captionColour ? QJsonValue(ColourText(*captionColour)) : QJsonValue()},
        {QStringLiteral("background"), background},
        {QStringLiteral("selection"), QJsonArray::fromStringList(project_.EffectSelection())},
        {QStringLiteral("effects"), EffectsJson()},
        {QStringLiteral("slides"), slides},
        {QStringLiteral("music"), tracks},
    };
    // "<" never appears outside JSON strings, where its escape reads the same: nothing can end
    // the element early.
    const QString showJson = QString::fromUtf8(QJsonDocument(show).toJson(QJsonDocument::Compact))
                                 .replace(QLatin1Char('<'), QLatin1String("\\u003c"));

    const QString style = ResourceText(QStringLiteral("page.css"));
    const QString guard = ResourceText(QStringLiteral("guard.js"));
    const QString core = ResourceText(QStringLiteral("lumetta_core.js"));
    const QString player = ResourceText(QStringLiteral("player.js"));
    const QString pageTemplate = ResourceText(QStringLiteral("page.html"));
    if (style.isEmpty() || guard.isEmpty() || core.isEmpty() || player.isEmpty() || pageTemplate.isEmpty()) {
        error_ = QStringLiteral("This program was built without its web page's parts");
        return Outcome::Failed;
    }
    // The WebAssembly loader fetches the module from its own data: address.
    const QString csp = QStringLiteral("default-src 'none'; script-src %1 %2 %3 'wasm-unsafe-eval'; style-src %4; "
                                       "img-src blob:; media-src blob:; connect-src data:; base-uri 'none'; form-action 'none'")
                            .arg(HashSource(guard), HashSource(core), HashSource(player), HashSource(style));
    const QString title = QFileInfo(project_.OpenedPath()).completeBaseName();
    page_ = Fill(pageTemplate, {{QStringLiteral("CSP"), csp},
                                {QStringLiteral("TITLE"), (title.isEmpty() ? QStringLiteral("Lumetta show") : title)
                                                              .toHtmlEscaped()},
                                {QStringLiteral("STYLE"), style},
                                {QStringLiteral("GUARD"), guard},
                                {QStringLiteral("SHOW"), showJson},
                                {QStringLiteral("DATA"), data},
                                {QStringLiteral("CORE"), core},
                                {QStringLiteral("PLAYER"), player}})
                .toUtf8();
    return Outcome::Done;
}

std::optional<QString> WebShowBuilder::Write(const QByteArray &page, const QString &target,
                                             ReplacementFile::Existing existing)
{
    ReplacementFile file(target);
    if (!file.Create())
        return QStringLiteral("Cannot write %1: %2").arg(target, file.ErrorString());
    QFile out(file.Path());
    const bool written =
        out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(page) == page.size() && out.flush();
    if (!written)
        return QStringLiteral("Cannot write %1: %2").arg(target, out.errorString());
    out.close();
    if (!file.Commit(existing))
        return QStringLiteral("Cannot write %1: %2").arg(target, file.ErrorString());
    return std::nullopt;
}

}  // namespace lumetta
