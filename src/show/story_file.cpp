// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/story_file.h"

#include "common/regular_file.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>
#include <iterator>
#include <limits>
#include <set>

namespace lumetta {

namespace {

const QString kVersionKey = QStringLiteral("version");
const QString kFitKey = QStringLiteral("fitToMusic");
const QString kSlidesKey = QStringLiteral("slides");
const QString kSlideKey = QStringLiteral("slide");
const QString kPictureKey = QStringLiteral("picture");
const QString kCaptionKey = QStringLiteral("caption");
const QString kDurationKey = QStringLiteral("durationMs");
const QString kTransitionKey = QStringLiteral("transition");
const QString kTextKey = QStringLiteral("text");
const QString kFontKey = QStringLiteral("font");
const QString kSizeKey = QStringLiteral("size");
const QString kColourKey = QStringLiteral("colour");
const QString kPositionKey = QStringLiteral("position");
const QString kEdgeKey = QStringLiteral("edge");
const QString kGentleKey = QStringLiteral("gentleMotion");
const QString kMotionKey = QStringLiteral("motion");
const QString kStartKey = QStringLiteral("start");
const QString kEndKey = QStringLiteral("end");
const QString kEasingKey = QStringLiteral("easing");
const QString kXKey = QStringLiteral("x");
const QString kYKey = QStringLiteral("y");
const QString kWidthKey = QStringLiteral("width");
const QString kHeightKey = QStringLiteral("height");
const QString kRandom = QStringLiteral("random");
const QString kNone = QStringLiteral("none");

// Problems a notice names before it counts the rest.
constexpr int kNamedProblems = 5;

const QList<std::pair<StoryCaption::Position, QString>> kPositions = {
    {StoryCaption::Position::Top, QStringLiteral("top")},
    {StoryCaption::Position::Middle, QStringLiteral("middle")},
    {StoryCaption::Position::Bottom, QStringLiteral("bottom")},
};
const QList<std::pair<StoryCaption::Edge, QString>> kEdges = {
    {StoryCaption::Edge::Outline, QStringLiteral("outline")},
    {StoryCaption::Edge::Shadow, QStringLiteral("shadow")},
};
const QList<std::pair<SlideMotion::Easing, QString>> kEasings = {
    {SlideMotion::Easing::Linear, QStringLiteral("linear")},
    {SlideMotion::Easing::EaseInOut, QStringLiteral("easeInOut")},
};

template <typename Value>
QString NameOf(const QList<std::pair<Value, QString>> &names, Value value)
{
    for (const auto &[known, name] : names)
        if (known == value)
            return name;
    return {};
}

template <typename Value>
std::optional<Value> ValueOf(const QList<std::pair<Value, QString>> &names, const QJsonValue &text)
{
    for (const auto &[known, name] : names)
        if (text == name)
            return known;
    return std::nullopt;
}

// A whole number from LOWEST to HIGHEST, or nullopt.
std::optional<qint64> WholeNumber(const QJsonValue &value, qint64 lowest, qint64 highest)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::floor(number) || number < double(lowest) || number > double(highest))
        return std::nullopt;
    return qint64(number);
}

// Reads the details of one entry; what is wrong with a key is told and the key left out.
class EntryReader
{
public:
    EntryReader(QString label, QStringList &problems) : label_(std::move(label)), problems_(problems) {}

    SlideDetails Read(QJsonObject entry)
    {
        SlideDetails details;
        entry.remove(kSlideKey);
        entry.remove(kPictureKey);
        if (const QJsonValue duration = entry.take(kDurationKey); !duration.isUndefined()) {
            if (const std::optional<qint64> ms = WholeNumber(duration, 1, SlideDetails::kLongestDurationMs))
                details.durationMs = int(*ms);
            else
                Tell(QStringLiteral("\"%1\" is not a whole number of milliseconds from 1 to %2")
                         .arg(kDurationKey)
                         .arg(SlideDetails::kLongestDurationMs));
        }
        if (const QJsonValue transition = entry.take(kTransitionKey); !transition.isUndefined()) {
            if (!transition.isString() || transition.toString().isEmpty())
                Tell(QStringLiteral("\"%1\" is not the name of a transition").arg(kTransitionKey));
            else if (transition == kNone)
                details.transition.kind = SlideTransition::Kind::None;
            else if (transition != kRandom)
                details.transition = SlideTransition::Named(transition.toString());
        }
        if (const QJsonValue caption = entry.take(kCaptionKey); !caption.isUndefined()) {
            if (caption.isObject())
                details.caption = ReadCaption(caption.toObject());
            else
                Tell(QStringLiteral("\"%1\" is not an object").arg(kCaptionKey));
        }
        if (const QJsonValue motion = entry.take(kMotionKey); !motion.isUndefined()) {
            if (motion.isObject()) {
                QJsonObject object = motion.toObject();
                details.motion = ReadMotion(object);
                details.motionUnknown = object;
            } else {
                Tell(QStringLiteral("\"%1\" is not an object").arg(kMotionKey));
            }
        }
        details.unknown = entry;
        return details;
    }

private:
    // Takes the keys it knows out of OBJECT.
    SlideMotion ReadMotion(QJsonObject &object)
    {
        SlideMotion motion;
        motion.start = ReadRect(object.take(kStartKey), kStartKey);
        motion.end = ReadRect(object.take(kEndKey), kEndKey);
        if (const QJsonValue easing = object.take(kEasingKey); !easing.isUndefined()) {
            if (const std::optional<SlideMotion::Easing> read = ValueOf(kEasings, easing))
                motion.easing = *read;
            else
                Tell(QStringLiteral("the motion's \"%1\" is not \"linear\" or \"easeInOut\"").arg(kEasingKey));
        }
        return motion;
    }

    // A rectangle of the picture; absent: the whole picture. One that is not inside the picture
    // is told and made the nearest that is.
    SlideMotion::Rect ReadRect(const QJsonValue &value, const QString &key)
    {
        if (value.isUndefined())
            return {};
        const QJsonObject object = value.toObject();
        const auto number = [&object](const QString &name, double fallback) {
            const QJsonValue side = object.value(name);
            return side.isDouble() ? side.toDouble() : side.isUndefined() ? fallback : std::numeric_limits<double>::quiet_NaN();
        };
        const SlideMotion::Rect read{number(kXKey, 0), number(kYKey, 0), number(kWidthKey, 1),
                                     number(kHeightKey, 1)};
        const SlideMotion::Rect sound = SlideMotion::Clamped(read);
        if (!value.isObject() || !(sound == read))
            Tell(QStringLiteral("the motion's \"%1\" is not a part of the picture (x, y, width and height from 0 "
                                "to 1, at least %2 across); the nearest one is used")
                     .arg(key)
                     .arg(SlideMotion::kSmallestFraction));
        return sound;
    }

    StoryCaption ReadCaption(QJsonObject object)
    {
        StoryCaption caption;
        if (const QJsonValue text = object.take(kTextKey); !text.isUndefined()) {
            if (text.isString())
                caption.text = text.toString();
            else
                Tell(QStringLiteral("the caption's \"%1\" is not text").arg(kTextKey));
        }
        if (const QJsonValue font = object.take(kFontKey); !font.isUndefined()) {
            if (font.isString())
                caption.font = font.toString();
            else
                Tell(QStringLiteral("the caption's \"%1\" is not a font name").arg(kFontKey));
        }
        if (const QJsonValue size = object.take(kSizeKey); !size.isUndefined()) {
            if (const std::optional<qint64> pixels =
                    WholeNumber(size, StoryCaption::kMinimumSize, StoryCaption::kMaximumSize))
                caption.size = int(*pixels);
            else
                Tell(QStringLiteral("the caption's \"%1\" is not a whole number from %2 to %3")
                         .arg(kSizeKey)
                         .arg(StoryCaption::kMinimumSize)
                         .arg(StoryCaption::kMaximumSize));
        }
        if (const QJsonValue colour = object.take(kColourKey); !colour.isUndefined()) {
            const QColor read = colour.isString() ? QColor::fromString(colour.toString()) : QColor();
            if (read.isValid() && colour.toString().startsWith(u'#'))
                caption.colour = read.toRgb();
            else
                Tell(QStringLiteral("the caption's \"%1\" is not a colour such as \"#ffffff\"").arg(kColourKey));
        }
        if (const QJsonValue position = object.take(kPositionKey); !position.isUndefined()) {
            if (const std::optional<StoryCaption::Position> read = ValueOf(kPositions, position))
                caption.position = *read;
            else
                Tell(QStringLiteral("the caption's \"%1\" is not \"top\", \"middle\" or \"bottom\"").arg(kPositionKey));
        }
        if (const QJsonValue edge = object.take(kEdgeKey); !edge.isUndefined()) {
            if (const std::optional<StoryCaption::Edge> read = ValueOf(kEdges, edge))
                caption.edge = *read;
            else
                Tell(QStringLiteral("the caption's \"%1\" is not \"outline\" or \"shadow\"").arg(kEdgeKey));
        }
        caption.unknown = object;
        return caption;
    }

    void Tell(const QString &problem) { problems_ << label_ + QLatin1String(": ") + problem; }

    QString label_;
    QStringList &problems_;
};

QJsonObject CaptionObject(const StoryCaption &caption)
{
    QJsonObject object = caption.unknown;
    StoryCaption plain;
    plain.unknown = caption.unknown;
    if (caption == plain)
        return object;
    object.insert(kTextKey, caption.text);
    if (!caption.font.isEmpty())
        object.insert(kFontKey, caption.font);
    object.insert(kSizeKey, caption.size);
    object.insert(kColourKey, caption.colour.name(QColor::HexRgb));
    object.insert(kPositionKey, NameOf(kPositions, caption.position));
    object.insert(kEdgeKey, NameOf(kEdges, caption.edge));
    return object;
}

QJsonObject RectObject(const SlideMotion::Rect &rect)
{
    return QJsonObject{{kXKey, rect.x}, {kYKey, rect.y}, {kWidthKey, rect.width}, {kHeightKey, rect.height}};
}

QJsonObject EntryObject(int slide, const QString &picture, const SlideDetails &details)
{
    QJsonObject entry = details.unknown;
    entry.insert(kSlideKey, slide + 1);
    entry.insert(kPictureKey, picture);
    if (const QJsonObject caption = CaptionObject(details.caption); !caption.isEmpty())
        entry.insert(kCaptionKey, caption);
    if (details.durationMs)
        entry.insert(kDurationKey, *details.durationMs);
    if (details.motion) {
        QJsonObject motion = details.motionUnknown;
        motion.insert(kStartKey, RectObject(details.motion->start));
        motion.insert(kEndKey, RectObject(details.motion->end));
        motion.insert(kEasingKey, NameOf(kEasings, details.motion->easing));
        entry.insert(kMotionKey, motion);
    } else if (!details.motionUnknown.isEmpty()) {
        entry.insert(kMotionKey, details.motionUnknown);
    }
    switch (details.transition.kind) {
    case SlideTransition::Kind::Random:
        break;
    case SlideTransition::Kind::None:
        entry.insert(kTransitionKey, kNone);
        break;
    case SlideTransition::Kind::Effect:
        entry.insert(kTransitionKey, details.transition.effect);
        break;
    }
    return entry;
}

// An entry waiting for its slide.
struct Entry
{
    int index;  // in the file's list, from 0
    qint64 slide;  // as the file numbers it, from 1
    QString picture;
    QJsonObject object;
};

}  // namespace

QString StoryFile::PathFor(const QString &projectPath)
{
    return projectPath + QLatin1String(".story");
}

StoryFile::Reading StoryFile::Parse(const QByteArray &bytes, const QStringList &pictures)
{
    Reading reading;
    QStringList &problems = reading.problems;
    if (bytes.size() > kMaximumBytes) {
        problems << QStringLiteral("the file is larger than %1 MiB").arg(kMaximumBytes >> 20);
        return reading;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        problems
            << QStringLiteral("it is not readable JSON (%1 at byte %2)").arg(error.errorString()).arg(error.offset);
        return reading;
    }
    if (!document.isObject()) {
        problems << QStringLiteral("it holds no JSON object");
        return reading;
    }
    QJsonObject top = document.object();
    const QJsonValue version = top.take(kVersionKey);
    if (version.isUndefined()) {
        problems << QStringLiteral("it names no format version; it is read as version %1").arg(kVersion);
    } else if (WholeNumber(version, kVersion, kVersion) != kVersion) {
        problems << QStringLiteral("its format version %1 is not one this Lumetta reads (%2); nothing was read from it")
                        .arg(version.isDouble() ? QString::number(version.toDouble())
                                                : QStringLiteral("\"%1\"").arg(version.toVariant().toString()))
                        .arg(kVersion);
        return reading;
    }
    ShowStory &story = reading.story;
    if (const QJsonValue fit = top.take(kFitKey); !fit.isUndefined()) {
        if (fit.isBool())
            story.SetFitToMusic(fit.toBool());
        else
            problems << QStringLiteral("\"%1\" is neither true nor false").arg(kFitKey);
    }
    if (const QJsonValue gentle = top.take(kGentleKey); !gentle.isUndefined()) {
        if (gentle.isBool())
            story.SetGentleMotion(gentle.toBool());
        else
            problems << QStringLiteral("\"%1\" is neither true nor false").arg(kGentleKey);
    }
    const QJsonValue slides = top.take(kSlidesKey);
    story.Unknown() = top;
    if (slides.isUndefined())
        return reading;
    if (!slides.isArray()) {
        problems << QStringLiteral("\"%1\" is not a list").arg(kSlidesKey);
        return reading;
    }

    QList<Entry> entries;
    const QJsonArray list = slides.toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QJsonValue value = list.at(i);
        const QJsonObject object = value.toObject();
        const std::optional<qint64> slide = WholeNumber(object.value(kSlideKey), 1, std::numeric_limits<int>::max());
        const QJsonValue picture = object.value(kPictureKey);
        if (!value.isObject())
            problems << QStringLiteral("entry %1 is not an object").arg(i + 1);
        else if (!slide)
            problems << QStringLiteral("entry %1 has no slide number (\"%2\")").arg(i + 1).arg(kSlideKey);
        else if (!picture.isString())
            problems << QStringLiteral("entry %1 names no picture (\"%2\")").arg(i + 1).arg(kPictureKey);
        else
            entries.append({i, *slide, picture.toString(), object});
    }

    // Exact matches first, so that an entry that moved never takes the place of one that did not.
    const int count = int(pictures.size());
    QList<bool> taken(count, false);
    QList<int> placeOf(entries.size(), -1);
    for (int e = 0; e < entries.size(); ++e) {
        const qint64 at = entries[e].slide - 1;
        if (at < count && !taken[at] && pictures[at] == entries[e].picture) {
            taken[at] = true;
            placeOf[e] = int(at);
        }
    }
    // Free places by picture, so that even a hostile file with one picture many times is matched
    // in n log n.
    QHash<QString, std::set<int>> placesOf;
    for (int i = 0; i < count; ++i)
        if (!taken[i])
            placesOf[pictures[i]].insert(i);
    for (int e = 0; e < entries.size(); ++e) {
        if (placeOf[e] >= 0)
            continue;
        const Entry &entry = entries[e];
        const auto found = placesOf.find(entry.picture);
        if (found == placesOf.end() || found->empty()) {
            problems << QStringLiteral("slide %1: %2 is not in the project at this place or any other free one; its "
                                       "details are left out")
                            .arg(entry.slide)
                            .arg(entry.picture);
            continue;
        }
        std::set<int> &places = *found;
        const qint64 wanted = entry.slide - 1;
        auto nearest = places.lower_bound(int(std::min<qint64>(wanted, count)));
        if (nearest == places.end() || (nearest != places.begin() && wanted - *std::prev(nearest) <= *nearest - wanted))
            nearest = std::prev(nearest);
        placeOf[e] = *nearest;
        places.erase(nearest);
        problems << QStringLiteral("slide %1: %2 now stands at slide %3; its details go with it")
                        .arg(entry.slide)
                        .arg(entry.picture)
                        .arg(placeOf[e] + 1);
    }
    for (int e = 0; e < entries.size(); ++e) {
        if (placeOf[e] < 0)
            continue;
        EntryReader reader(QStringLiteral("slide %1").arg(placeOf[e] + 1), problems);
        story.SetSlide(placeOf[e], reader.Read(entries[e].object));
    }
    return reading;
}

StoryFile::Reading StoryFile::Read(const QString &path, const QStringList &pictures)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return {};
    RegularFile file(path, kMaximumBytes);
    if (!file.IsOpen())
        return {ShowStory(), {file.ErrorString()}};
    const QByteArray bytes = file.Device().read(kMaximumBytes + 1);
    if (file.Device().error() != QFileDevice::NoError)
        return {ShowStory(), {file.Device().errorString()}};
    return Parse(bytes, pictures);
}

QString StoryFile::Notice(const QString &path, const QStringList &problems)
{
    QStringList lines{
        QStringLiteral("The slide details in %1 could not all be read:").arg(RegularFile::ShownName(path))};
    for (const QString &problem : problems.mid(0, kNamedProblems))
        lines << QStringLiteral("- ") + problem;
    if (problems.size() > kNamedProblems)
        lines << QStringLiteral("- and %1 more").arg(problems.size() - kNamedProblems);
    lines << QStringLiteral("The project opens with the details that could be read; the file stays as it is until "
                            "the project is saved.");
    return lines.join(QLatin1Char('\n'));
}

QByteArray StoryFile::Bytes(const ShowStory &story, const QStringList &pictures)
{
    if (story.IsEmpty())
        return {};
    QJsonObject top = story.Unknown();
    top.insert(kVersionKey, kVersion);
    if (story.FitToMusic())
        top.insert(kFitKey, true);
    if (story.GentleMotion())
        top.insert(kGentleKey, true);
    QJsonArray slides;
    const int count = std::min(story.SlideCount(), int(pictures.size()));
    for (int i = 0; i < count; ++i)
        if (story.HasDetails(i))
            slides.append(EntryObject(i, pictures[i], story.Slide(i)));
    top.insert(kSlidesKey, slides);
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

}  // namespace lumetta
