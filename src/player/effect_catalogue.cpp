// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/effect_catalogue.h"

#include "transitions/engine/form_reader.h"
#include "transitions/transitions.h"

static void InitCatalogueResource()
{
    // The resource lives in a static library, so it is registered by hand.
    Q_INIT_RESOURCE(effect_catalogue);
}

namespace lumetta {

void LoadEffectCatalogue(TTransitionList &trans, bool abortOnEscape)
{
    InitCatalogueResource();
    RegisterTransitionClasses();
    ReadTransitionListFile(QStringLiteral(":/lumetta/effect_catalogue.dfm"), &trans);
    for (int i = 0; i < trans.Count(); ++i)
        trans.Items(i)->SetAbortOnEscape(abortOnEscape);
}

QStringList EffectDisplayNames()
{
    return {
        QStringLiteral("Alpha blend"),
        QStringLiteral("Puzzle"),
        QStringLiteral("Large puzzle"),
        QStringLiteral("Blocks"),
        QStringLiteral("Large blocks"),
        QStringLiteral("Circle"),
        QStringLiteral("Sweep clockwise"),
        QStringLiteral("Sweep anticlockwise"),
        QStringLiteral("Sweep clockwise 2"),
        QStringLiteral("Drip down"),
        QStringLiteral("Drip left"),
        QStringLiteral("Wipe down"),
        QStringLiteral("Wipe left"),
        QStringLiteral("Wipe right"),
        QStringLiteral("Wipe up"),
        QStringLiteral("Wipe down and left"),
        QStringLiteral("Wipe down and right"),
        QStringLiteral("Wipe up and left"),
        QStringLiteral("Wipe up and right"),
        QStringLiteral("Wipe in"),
        QStringLiteral("Wipe out"),
    };
}

QString EffectDisplayName(int number)
{
    const QStringList names = EffectDisplayNames();
    return number >= 0 && number < names.size() ? names.at(number) : QString();
}

QStringList EffectStoredNames()
{
    return {
        QStringLiteral("SlowAlpha"),  QStringLiteral("Puzzle"),    QStringLiteral("LArgePuzzle"),
        QStringLiteral("Blocks"),     QStringLiteral("NewBlocks"), QStringLiteral("FastCircle"),
        QStringLiteral("Clockwise"),  QStringLiteral("ClockObr"),  QStringLiteral("ClockNew"),
        QStringLiteral("DripDown"),   QStringLiteral("Drip"),      QStringLiteral("WipeDown"),
        QStringLiteral("WipeLeft"),   QStringLiteral("Right"),     QStringLiteral("WipeUp"),
        QStringLiteral("Ugolok_d_l"), QStringLiteral("Ugol_d_r"),  QStringLiteral("UgolUp_l"),
        QStringLiteral("UgolUp_r"),   QStringLiteral("Intro"),     QStringLiteral("Out"),
    };
}

std::optional<int> EffectNumberOfStoredName(const QString &name)
{
    const qsizetype number = EffectStoredNames().indexOf(name);
    return number < 0 ? std::nullopt : std::optional<int>(int(number));
}

QList<int> StandardEffectSet()
{
    return {1, 2, 4, 6, 9, 11, 12, 13, 14, 15, 17, 19, 20};
}

QStringList EffectCatalogueListing(const TTransitionList &trans)
{
    QStringList lines;
    for (int i = 0; i < trans.Count(); ++i) {
        const TTransitionEffect *effect = trans.Items(i);
        const QString name = i < kOfferedEffectCount ? EffectDisplayName(i) : effect->GetDescription();
        lines << QStringLiteral("%1\t%2\t%3\t%4\t%5")
                     .arg(i)
                     .arg(effect->objectName(), StoredClassName(effect), name)
                     .arg(effect->Milliseconds());
    }
    return lines;
}

}  // namespace lumetta
