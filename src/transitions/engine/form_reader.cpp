// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/form_reader.h"

#include "transitions/engine/transition_effect.h"
#include "transitions/engine/transition_error.h"
#include "transitions/engine/transition_list.h"
#include "transitions/engine/transition_registry.h"

#include "common/color_text.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QSet>

#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace lumetta {

namespace {

// Longest description file read; the effect catalogue is a few kilobytes.
constexpr qint64 kMaxDescriptionBytes = qint64(1) << 20;

[[noreturn]] void fail(const QString &message)
{
    throw TransitionError(message.toStdString());
}

QString unquote(const QString &text, bool &ok)
{
    ok = text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\''));
    if (!ok)
        return {};
    const QString inner = text.mid(1, text.size() - 2);
    if (inner.count(QLatin1Char('\'')) % 2 != 0) {
        ok = false;
        return {};
    }
    return QString(inner).replace(QStringLiteral("''"), QStringLiteral("'"));
}

// A property by name in any letter case, as the form system finds it, among those from index
// first on; -1 when there is none.
int propertyNamed(const QMetaObject *meta, QStringView name, int first)
{
    for (int i = first; i < meta->propertyCount(); ++i)
        if (name.compare(QLatin1String(meta->property(i).name()), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// QObject's own properties (objectName) are not published.
int publishedProperty(const QMetaObject *meta, QStringView name)
{
    return propertyNamed(meta, name, QObject::staticMetaObject.propertyCount());
}

// A whole number as descriptions write it: decimal with an optional sign, or "$" and hexadecimal
// digits. Values far beyond any range saturate, so they stay out of range.
std::optional<qint64> wholeNumber(const QString &text)
{
    if (!text.startsWith(QLatin1Char('$')))
        return lumetta::ParseDecimal(text);
    const QStringView digits = QStringView(text).mid(1);
    if (digits.isEmpty())
        return std::nullopt;
    constexpr qint64 kLimit = qint64(1) << 40;
    qint64 value = 0;
    for (QChar c : digits) {
        const int digit = QStringLiteral("0123456789abcdef").indexOf(c.toLower());
        if (digit < 0 || c.unicode() > 127)
            return std::nullopt;
        value = std::min(kLimit, value * 16 + digit);
    }
    return value;
}

int enumValue(const QMetaEnum &meta, const QString &key, bool &ok)
{
    for (int i = 0; i < meta.keyCount(); ++i) {
        if (key.compare(QLatin1String(meta.key(i)), Qt::CaseInsensitive) == 0) {
            ok = true;
            return meta.value(i);
        }
    }
    ok = false;
    return 0;
}

}  // namespace

bool ColorFromText(const QString &Text, int &Color)
{
    const std::optional<lumetta::ColorRef> value = lumetta::StringToColor(Text, lumetta::ColorNames::PlainExactCase);
    if (value)
        Color = int(*value);
    return value.has_value();
}

void SetPropertyFromText(QObject *Object, const QString &Name, const QString &Value)
{
    const QString className = StoredClassName(Object);
    const QStringList path = Name.split(QLatin1Char('.'));
    auto noProperty = [&] { fail(QStringLiteral("%1 has no property %2").arg(className, Name)); };
    QObject *target = Object;
    for (qsizetype i = 0; i + 1 < path.size(); ++i) {
        const int index = publishedProperty(target->metaObject(), path[i]);
        QObject *sub = index >= 0 ? target->metaObject()->property(index).read(target).value<QObject *>() : nullptr;
        if (!sub)
            noProperty();
        target = sub;
    }
    const QMetaObject *meta = target->metaObject();
    const int index = publishedProperty(meta, path.last());
    if (index < 0 && propertyNamed(meta, path.last(), 0) >= 0)
        fail(QStringLiteral("Property %1 of %2 cannot be set").arg(Name, className));
    if (index < 0 || path.last().isEmpty())
        noProperty();
    const QMetaProperty property = meta->property(index);
    const QString propertyName = QString::fromLatin1(property.name());
    if (!property.isWritable())
        fail(QStringLiteral("Property %1 of %2 cannot be set").arg(Name, className));

    auto bad = [&] { fail(QStringLiteral("Invalid value %1 for property %2").arg(Value, Name)); };
    QVariant value;
    const QMetaType type = property.metaType();
    if (property.isEnumType()) {
        bool ok = false;
        const int number = enumValue(property.enumerator(), Value, ok);
        if (!ok)
            bad();
        value = QVariant(type, &number);
    } else {
        switch (type.id()) {
        case QMetaType::Bool:
            if (Value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                value = true;
            else if (Value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                value = false;
            else
                bad();
            break;
        case QMetaType::Int: {
            const std::optional<qint64> number = wholeNumber(Value);
            if (!number)
                bad();
            const auto *effect = qobject_cast<const TTransitionEffect *>(target);
            const ValueRange range =
                (effect ? effect->PropertyRange(propertyName) : std::nullopt)
                    .value_or(ValueRange{std::numeric_limits<int>::min(), std::numeric_limits<int>::max()});
            if (!range.Contains(*number))
                fail(QStringLiteral("Invalid value %1 for property %2: it must lie between %3 and %4")
                         .arg(Value, Name)
                         .arg(range.minimum)
                         .arg(range.maximum));
            value = int(*number);
            break;
        }
        case QMetaType::UInt: {
            // Colours: the program's colour type.
            const std::optional<lumetta::ColorRef> colour =
                lumetta::StringToColor(Value, lumetta::ColorNames::PlainExactCase);
            if (!colour)
                bad();
            value = uint(*colour);
            break;
        }
        case QMetaType::QString: {
            bool ok = false;
            value = unquote(Value, ok);
            if (!ok)
                bad();
            break;
        }
        default:
            fail(QStringLiteral("Property %1 of %2 cannot be set from text").arg(Name, className));
        }
    }
    if (!property.write(target, value))
        bad();
}

void SetPropertyFromAssignment(QObject *Object, const QString &Assignment)
{
    const qsizetype equals = Assignment.indexOf(QLatin1Char('='));
    if (equals <= 0)
        fail(QStringLiteral("An assignment needs PROPERTY=VALUE, not \"%1\"").arg(Assignment));
    SetPropertyFromText(Object, Assignment.left(equals).trimmed(), Assignment.mid(equals + 1).trimmed());
}

void ReadTransitionList(const QString &Text, TTransitionList *List, QObject *Owner)
{
    static const QRegularExpression objectLine(
        QStringLiteral("^object\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*:\\s*([A-Za-z_][A-Za-z0-9_]*)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression propertyLine(QStringLiteral("^([A-Za-z_][A-Za-z0-9_.]*)\\s*=\\s*(.+)$"));

    QObject *owner = Owner ? Owner : List;
    std::vector<std::unique_ptr<TTransitionEffect>> effects;
    TTransitionEffect *current = nullptr;
    QString listName;
    // Names of the form's components, which the form system keeps unique in any letter case.
    QSet<QString> names;
    int depth = 0;
    bool rootDone = false;
    const QStringList lines = Text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const int number = int(i) + 1;
        auto lineFail = [&](const QString &message) { fail(QStringLiteral("Line %1: %2").arg(number).arg(message)); };
        if (line.isEmpty())
            continue;
        if (rootDone)
            lineFail(QStringLiteral("text after the end of the description"));
        if (const auto match = objectLine.match(line); match.hasMatch()) {
            const QString name = match.captured(1);
            const QString className = match.captured(2);
            if (depth <= 1) {
                if (names.contains(name.toLower()))
                    lineFail(QStringLiteral("a component named %1 exists already").arg(name));
                names.insert(name.toLower());
            }
            if (depth == 0) {
                if (className.compare(QLatin1String("TTransitionList"), Qt::CaseInsensitive) != 0)
                    lineFail(
                        QStringLiteral("the description must start with a TTransitionList, not %1").arg(className));
                listName = name;
            } else if (depth == 1) {
                TTransitionEffect *effect = CreateTransitionEffect(className, nullptr);
                if (!effect)
                    lineFail(QStringLiteral("unknown class %1").arg(className));
                effect->setObjectName(name);
                effects.emplace_back(effect);
                current = effect;
            } else {
                lineFail(QStringLiteral("an effect cannot contain objects"));
            }
            ++depth;
        } else if (line.compare(QLatin1String("end"), Qt::CaseInsensitive) == 0) {
            if (depth == 0)
                lineFail(QStringLiteral("end without object"));
            --depth;
            current = nullptr;
            rootDone = depth == 0;
        } else if (const auto match = propertyLine.match(line); match.hasMatch()) {
            if (depth == 0)
                lineFail(QStringLiteral("property outside an object"));
            QObject *target = current ? static_cast<QObject *>(current) : static_cast<QObject *>(List);
            try {
                SetPropertyFromText(target, match.captured(1), match.captured(2).trimmed());
            } catch (const TransitionError &error) {
                lineFail(QString::fromStdString(error.what()));
            }
        } else {
            lineFail(QStringLiteral("cannot read \"%1\"").arg(line));
        }
    }
    if (!rootDone)
        fail(QStringLiteral("Line %1: missing end").arg(lines.size()));

    List->setObjectName(listName);
    for (std::unique_ptr<TTransitionEffect> &effect : effects) {
        effect->setParent(owner);
        List->AddTransition(effect.release());
    }
}

void ReadTransitionListFile(const QString &Path, TTransitionList *List, QObject *Owner)
{
    // Opening a pipe would wait for a writer and a device may never end.
    if (const QFileInfo info(Path); info.exists() && !info.isFile())
        fail(QStringLiteral("Cannot read %1: it is not a regular file").arg(Path));
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Cannot open file %1").arg(Path));
    if (file.isSequential() || file.size() > kMaxDescriptionBytes)
        fail(QStringLiteral("Cannot read %1: a description is a file of at most %2 bytes")
                 .arg(Path)
                 .arg(kMaxDescriptionBytes));
    const QByteArray bytes = file.read(kMaxDescriptionBytes + 1);
    if (bytes.size() > kMaxDescriptionBytes)
        fail(QStringLiteral("Cannot read %1: a description is a file of at most %2 bytes")
                 .arg(Path)
                 .arg(kMaxDescriptionBytes));
    ReadTransitionList(QString::fromUtf8(bytes), List, Owner);
}

}  // namespace lumetta
