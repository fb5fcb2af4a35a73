// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/effect_catalogue.h"

#include "transitions/transitions.h"

#include <gtest/gtest.h>

#include <QVariant>

using namespace lumetta;

namespace {

struct Entry
{
    const char *component;
    const char *className;
    const char *displayName;
    int milliseconds;
};

const Entry kEntries[kEffectCatalogueSize] = {
    {"SlowAlpha", "TBlendTransition", "Alpha blend", 0},
    {"Puzzle", "TBlockTransition", "Puzzle", 1500},
    {"LArgePuzzle", "TBlockTransition", "Large puzzle", 1700},
    {"Blocks", "TBlockTransition", "Blocks", 1700},
    {"NewBlocks", "TBlockTransition", "Large blocks", 1700},
    {"FastCircle", "TCircleTransition", "Circle", 1700},
    {"Clockwise", "TRadialTransition", "Sweep clockwise", 1700},
    {"ClockObr", "TRadialTransition", "Sweep anticlockwise", 1700},
    {"ClockNew", "TRadialTransition", "Sweep clockwise 2", 1700},
    {"DripDown", "TDripTransition", "Drip down", 1700},
    {"Drip", "TDripTransition", "Drip left", 1700},
    {"WipeDown", "TWipeTransition", "Wipe down", 1700},
    {"WipeLeft", "TWipeTransition", "Wipe left", 1700},
    {"Right", "TWipeTransition", "Wipe right", 1700},
    {"WipeUp", "TWipeTransition", "Wipe up", 1700},
    {"Ugolok_d_l", "TWipeTransition", "Wipe down and left", 1700},
    {"Ugol_d_r", "TWipeTransition", "Wipe down and right", 1700},
    {"UgolUp_l", "TWipeTransition", "Wipe up and left", 1700},
    {"UgolUp_r", "TWipeTransition", "Wipe up and right", 1700},
    {"Intro", "TWipeTransition", "Wipe in", 1700},
    {"Out", "TWipeTransition", "Wipe out", 1700},
    {"Transition1", "TFlickerFreeTransition", "", 0},
};

int IntProperty(const TTransitionEffect *effect, const char *name)
{
    const QVariant v = effect->property(name);
    EXPECT_TRUE(v.isValid()) << effect->objectName().toStdString() << "." << name;
    return v.toInt();
}

}  // namespace

TEST(EffectCatalogue, TwentyTwoEntriesInOrder)
{
    TTransitionList trans;
    LoadEffectCatalogue(trans, false);
    EXPECT_EQ(trans.objectName(), "Trans");
    ASSERT_EQ(trans.Count(), kEffectCatalogueSize);
    for (int i = 0; i < kEffectCatalogueSize; ++i) {
        const TTransitionEffect *e = trans.Items(i);
        SCOPED_TRACE(kEntries[i].component);
        EXPECT_EQ(e->objectName(), kEntries[i].component);
        EXPECT_EQ(StoredClassName(e), QLatin1String(kEntries[i].className));
        EXPECT_EQ(EffectDisplayName(i), kEntries[i].displayName);
        EXPECT_EQ(e->Milliseconds(), kEntries[i].milliseconds);
        EXPECT_FALSE(e->AbortOnEscape());
        EXPECT_EQ(e->TransitionList(), &trans);
    }
    EXPECT_EQ(EffectDisplayNames().size(), kOfferedEffectCount);
    EXPECT_EQ(trans.Items(21)->GetDescription(), "Flicker free cut");
}

TEST(EffectCatalogue, StoredNamesAreTheComponentNamesOfTheOfferedEffects)
{
    TTransitionList trans;
    LoadEffectCatalogue(trans, false);
    ASSERT_EQ(EffectStoredNames().size(), kOfferedEffectCount);
    for (int i = 0; i < kOfferedEffectCount; ++i) {
        EXPECT_EQ(EffectStoredNames().at(i), trans.Items(i)->objectName());
        EXPECT_EQ(EffectNumberOfStoredName(trans.Items(i)->objectName()), i);
    }
    EXPECT_EQ(EffectNumberOfStoredName("Transition1"), std::nullopt);
    EXPECT_EQ(EffectNumberOfStoredName("wipeleft"), std::nullopt);
}

TEST(EffectCatalogue, SettingsBeyondTheDefaults)
{
    TTransitionList trans;
    LoadEffectCatalogue(trans, false);
    struct Setting
    {
        int number;
        const char *property;
        int value;
    } settings[] = {
        {0, "FlickerFreeWhenDisabled", 1},
        {1, "Cols", 30},
        {1, "Rows", 30},
        {1, "Puzzle", 1},
        {1, "BlockWidth", 0},
        {1, "BlockHeight", 0},
        {1, "Style", 1},
        {1, "SubStyle", 1},
        {2, "Cols", 10},
        {2, "Rows", 10},
        {2, "Puzzle", 1},
        {2, "Style", 4},
        {2, "SubStyle", 1},
        {3, "Cols", 30},
        {3, "Rows", 30},
        {3, "Puzzle", 0},
        {3, "BlockWidth", 0},
        {3, "BlockHeight", 0},
        {4, "Cols", 7},
        {4, "Rows", 7},
        {4, "Style", 1},
        {4, "SubStyle", 0},
        {4, "BlockWidth", 0},
        {5, "Style", 1},
        {5, "SubStyle", 1},
        {6, "Style", 1},
        {6, "SubStyle", 1},
        {7, "SubStyle", 2},
        {8, "SubStyle", 5},
        {9, "Direction", TTransitionEffect::tedDown},
        {10, "Direction", TTransitionEffect::tedLeft},
        {11, "Direction", TTransitionEffect::tedDown},
        {11, "BandWidth", 50},
        {12, "Direction", TTransitionEffect::tedLeft},
        {13, "Direction", TTransitionEffect::tedRight},
        {13, "BandWidth", 20},
        {14, "Direction", TTransitionEffect::tedUp},
        {15, "Direction", TTransitionEffect::tedDownLeft},
        {15, "BandWidth", 0},
        {16, "Direction", TTransitionEffect::tedDownRight},
        {16, "BandWidth", 0},
        {17, "Direction", TTransitionEffect::tedUpLeft},
        {17, "BandWidth", 0},
        {18, "Direction", TTransitionEffect::tedUpRight},
        {18, "BandWidth", 0},
        {19, "Direction", TTransitionEffect::tedIn},
        {19, "BandWidth", 0},
        {20, "Direction", TTransitionEffect::tedOut},
        {20, "BandWidth", 0},
    };
    for (const Setting &s : settings)
        EXPECT_EQ(IntProperty(trans.Items(s.number), s.property), s.value) << s.number << " " << s.property;
    EXPECT_FALSE(trans.Items(0)->Pass2Options()->UseSolidColor());
    EXPECT_TRUE(trans.Items(20)->Pass2Options()->Reversed());
    EXPECT_FALSE(trans.Items(19)->Pass2Options()->Reversed());
    EXPECT_TRUE(trans.Items(1)->Pass2Options()->UseSolidColor());
}

TEST(EffectCatalogue, TheDialogsCopyAbortsOnEscapeAndIsSeparate)
{
    TTransitionList player, dialog;
    LoadEffectCatalogue(player, false);
    LoadEffectCatalogue(dialog, true);
    ASSERT_EQ(dialog.Count(), kEffectCatalogueSize);
    for (int i = 0; i < kEffectCatalogueSize; ++i) {
        EXPECT_TRUE(dialog.Items(i)->AbortOnEscape()) << i;
        EXPECT_FALSE(player.Items(i)->AbortOnEscape()) << i;
        EXPECT_NE(dialog.Items(i), player.Items(i));
    }
}

TEST(EffectCatalogue, StandardSet)
{
    EXPECT_EQ(StandardEffectSet(), (QList<int>{1, 2, 4, 6, 9, 11, 12, 13, 14, 15, 17, 19, 20}));
    QStringList names;
    for (int n : StandardEffectSet())
        names << EffectDisplayName(n);
    EXPECT_EQ(names, (QStringList{"Puzzle", "Large puzzle", "Large blocks", "Sweep clockwise", "Drip down", "Wipe down",
                                  "Wipe left", "Wipe right", "Wipe up", "Wipe down and left", "Wipe up and left",
                                  "Wipe in", "Wipe out"}));
    EXPECT_EQ(EffectDisplayName(21), "");
    EXPECT_EQ(EffectDisplayName(-1), "");
}

TEST(EffectCatalogue, ListingLines)
{
    TTransitionList trans;
    LoadEffectCatalogue(trans, false);
    const QStringList lines = EffectCatalogueListing(trans);
    ASSERT_EQ(lines.size(), kEffectCatalogueSize);
    EXPECT_EQ(lines[0], "0\tSlowAlpha\tTBlendTransition\tAlpha blend\t0");
    EXPECT_EQ(lines[2], "2\tLArgePuzzle\tTBlockTransition\tLarge puzzle\t1700");
    EXPECT_EQ(lines[21], "21\tTransition1\tTFlickerFreeTransition\tFlicker free cut\t0");
}
