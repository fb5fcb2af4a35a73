#include "transitions/form_reader.h"

#include "transitions/TransEff.h"

#include "common/color_text.h"

#include <QFile>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QRegularExpression>

#include <memory>
#include <optional>
#include <vector>

namespace {

[[noreturn]] void fail(const QString &message) { throw TransitionError(message.toStdString()); }

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
    const QString className = QString::fromLatin1(Object->metaObject()->className());
    const QStringList path = Name.split(QLatin1Char('.'));
    QObject *target = Object;
    for (qsizetype i = 0; i + 1 < path.size(); ++i) {
        const int index = target->metaObject()->indexOfProperty(path[i].toLatin1().constData());
        QObject *sub = index >= 0 ? target->metaObject()->property(index).read(target).value<QObject *>() : nullptr;
        if (!sub)
            fail(QStringLiteral("%1 has no property %2").arg(className, Name));
        target = sub;
    }
    const QMetaObject *meta = target->metaObject();
    const int index = meta->indexOfProperty(path.last().toLatin1().constData());
    if (index < 0 || path.last().isEmpty())
        fail(QStringLiteral("%1 has no property %2").arg(className, Name));
    const QMetaProperty property = meta->property(index);
    if (!property.isWritable())
        fail(QStringLiteral("Property %1 of %2 cannot be set").arg(Name, className));

    auto bad = [&] { fail(QStringLiteral("Invalid value %1 for property %2").arg(Value, Name)); };
    QVariant value;
    const QMetaType type = property.metaType();
    if (property.isEnumType()) {
        bool ok = false;
        const int number = property.enumerator().keyToValue(Value.toLatin1().constData(), &ok);
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
            int number = 0;
            if (!ColorFromText(Value, number))
                bad();
            value = number;
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

void ReadTransitionList(const QString &Text, TTransitionList *List, QObject *Owner)
{
    static const QRegularExpression objectLine(QStringLiteral("^object\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*:\\s*([A-Za-z_][A-Za-z0-9_]*)$"));
    static const QRegularExpression propertyLine(QStringLiteral("^([A-Za-z_][A-Za-z0-9_.]*)\\s*=\\s*(.+)$"));

    QObject *owner = Owner ? Owner : List;
    std::vector<std::unique_ptr<TTransitionEffect>> effects;
    TTransitionEffect *current = nullptr;
    QString listName;
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
            if (depth == 0) {
                if (className.compare(QLatin1String("TTransitionList"), Qt::CaseInsensitive) != 0)
                    lineFail(QStringLiteral("the description must start with a TTransitionList, not %1").arg(className));
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
        } else if (line == QLatin1String("end")) {
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
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Cannot open file %1").arg(Path));
    ReadTransitionList(QString::fromUtf8(file.readAll()), List, Owner);
}
