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

[[noreturn]] void Fail(const QString &message)
{
    throw TransitionError(message.toStdString());
}

QString Unquote(const QString &text, bool &ok)
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
int PropertyNamed(const QMetaObject *meta, QStringView name, int first)
{
    for (int i = first; i < meta->propertyCount(); ++i)
        if (name.compare(QLatin1String(meta->property(i).name()), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// QObject's own properties (objectName) are not published.
int PublishedProperty(const QMetaObject *meta, QStringView name)
{
    return PropertyNamed(meta, name, QObject::staticMetaObject.propertyCount());
}

// A whole number as descriptions write it: decimal with an optional sign, or "$" and hexadecimal
// digits. Values far beyond any range saturate, so they stay out of range.
std::optional<qint64> WholeNumber(const QString &text)
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

int EnumValue(const QMetaEnum &meta, const QString &key, bool &ok)
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

bool ColorFromText(const QString &text, int &color)
{
    const std::optional<lumetta::ColorRef> value = lumetta::StringToColor(text, lumetta::ColorNames::PlainExactCase);
    if (value)
        color = int(*value);
    return value.has_value();
}

void SetPropertyFromText(QObject *object, const QString &name, const QString &valueText)
{
    const QString className = StoredClassName(object);
    const QStringList path = name.split(QLatin1Char('.'));
    auto noProperty = [&] { Fail(QStringLiteral("%1 has no property %2").arg(className, name)); };
    QObject *target = object;
    for (qsizetype i = 0; i + 1 < path.size(); ++i) {
        const int index = PublishedProperty(target->metaObject(), path[i]);
        QObject *sub = index >= 0 ? target->metaObject()->property(index).read(target).value<QObject *>() : nullptr;
        if (!sub)
            noProperty();
        target = sub;
    }
    const QMetaObject *meta = target->metaObject();
    const int index = PublishedProperty(meta, path.last());
    if (index < 0 && PropertyNamed(meta, path.last(), 0) >= 0)
        Fail(QStringLiteral("Property %1 of %2 cannot be set").arg(name, className));
    if (index < 0 || path.last().isEmpty())
        noProperty();
    const QMetaProperty property = meta->property(index);
    const QString propertyName = QString::fromLatin1(property.name());
    if (!property.isWritable())
        Fail(QStringLiteral("Property %1 of %2 cannot be set").arg(name, className));

    auto bad = [&] { Fail(QStringLiteral("Invalid value %1 for property %2").arg(valueText, name)); };
    QVariant value;
    const QMetaType type = property.metaType();
    if (property.isEnumType()) {
        bool ok = false;
        const int number = EnumValue(property.enumerator(), valueText, ok);
        if (!ok)
            bad();
        value = QVariant(type, &number);
    } else {
        switch (type.id()) {
        case QMetaType::Bool:
            if (valueText.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                value = true;
            else if (valueText.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                value = false;
            else
                bad();
            break;
        case QMetaType::Int: {
            const std::optional<qint64> number = WholeNumber(valueText);
            if (!number)
                bad();
            const auto *effect = qobject_cast<const TTransitionEffect *>(target);
            const ValueRange range =
                (effect ? effect->PropertyRange(propertyName) : std::nullopt)
                    .value_or(ValueRange{std::numeric_limits<int>::min(), std::numeric_limits<int>::max()});
            if (!range.Contains(*number))
                Fail(QStringLiteral("Invalid value %1 for property %2: it must lie between %3 and %4")
                         .arg(valueText, name)
                         .arg(range.minimum)
                         .arg(range.maximum));
            value = int(*number);
            break;
        }
        case QMetaType::UInt: {
            // Colours: the program's colour type.
            const std::optional<lumetta::ColorRef> colour =
                lumetta::StringToColor(valueText, lumetta::ColorNames::PlainExactCase);
            if (!colour)
                bad();
            value = uint(*colour);
            break;
        }
        case QMetaType::QString: {
            bool ok = false;
            value = Unquote(valueText, ok);
            if (!ok)
                bad();
            break;
        }
        default:
            Fail(QStringLiteral("Property %1 of %2 cannot be set from text").arg(name, className));
        }
    }
    if (!property.write(target, value))
        bad();
}

void SetPropertyFromAssignment(QObject *object, const QString &assignment)
{
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals <= 0)
        Fail(QStringLiteral("An assignment needs PROPERTY=VALUE, not \"%1\"").arg(assignment));
    SetPropertyFromText(object, assignment.left(equals).trimmed(), assignment.mid(equals + 1).trimmed());
}

void ReadTransitionList(const QString &text, TTransitionList *list, QObject *owner)
{
    static const QRegularExpression kObjectLine(
        QStringLiteral("^object\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*:\\s*([A-Za-z_][A-Za-z0-9_]*)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression kPropertyLine(QStringLiteral("^([A-Za-z_][A-Za-z0-9_.]*)\\s*=\\s*(.+)$"));

    QObject *effectOwner = owner ? owner : list;
    std::vector<std::unique_ptr<TTransitionEffect>> effects;
    TTransitionEffect *current = nullptr;
    QString listName;
    // Names of the form's components, which the form system keeps unique in any letter case.
    QSet<QString> names;
    int depth = 0;
    bool rootDone = false;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const int number = int(i) + 1;
        auto lineFail = [&](const QString &message) { Fail(QStringLiteral("Line %1: %2").arg(number).arg(message)); };
        if (line.isEmpty())
            continue;
        if (rootDone)
            lineFail(QStringLiteral("text after the end of the description"));
        if (const auto match = kObjectLine.match(line); match.hasMatch()) {
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
        } else if (const auto match = kPropertyLine.match(line); match.hasMatch()) {
            if (depth == 0)
                lineFail(QStringLiteral("property outside an object"));
            QObject *target = current ? static_cast<QObject *>(current) : static_cast<QObject *>(list);
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
        Fail(QStringLiteral("Line %1: missing end").arg(lines.size()));

    list->setObjectName(listName);
    for (std::unique_ptr<TTransitionEffect> &effect : effects) {
        effect->setParent(effectOwner);
        list->AddTransition(effect.release());
    }
}

void ReadTransitionListFile(const QString &path, TTransitionList *list, QObject *owner)
{
    // Opening a pipe would wait for a writer and a device may never end.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        Fail(QStringLiteral("Cannot read %1: it is not a regular file").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("Cannot open file %1").arg(path));
    if (file.isSequential() || file.size() > kMaxDescriptionBytes)
        Fail(QStringLiteral("Cannot read %1: a description is a file of at most %2 bytes")
                 .arg(path)
                 .arg(kMaxDescriptionBytes));
    const QByteArray bytes = file.read(kMaxDescriptionBytes + 1);
    if (bytes.size() > kMaxDescriptionBytes)
        Fail(QStringLiteral("Cannot read %1: a description is a file of at most %2 bytes")
                 .arg(path)
                 .arg(kMaxDescriptionBytes));
    ReadTransitionList(QString::fromUtf8(bytes), list, owner);
}

}  // namespace lumetta
