#include "test_effects.h"

#include "transitions/TransEff.h"

#include <gtest/gtest.h>

#include <QPointer>

namespace {

using TE = TTransitionEffect;

TEST(EffectModel, Defaults)
{
    TRecordingTransition effect;
    EXPECT_TRUE(effect.Enabled());
    EXPECT_EQ(effect.PassSetting(), TE::teOnePass);
    EXPECT_FALSE(effect.Pass2Options()->DistributedTime());
    EXPECT_FALSE(effect.Pass2Options()->Reversed());
    EXPECT_TRUE(effect.Pass2Options()->UseSolidColor());
    EXPECT_EQ(effect.Pass2Options()->SolidColor(), 0x1FFFFFFF);
    EXPECT_FALSE(effect.AbortOnClick());
    EXPECT_FALSE(effect.AbortOnEscape());
    EXPECT_TRUE(effect.ClientCoordinates);
    EXPECT_FALSE(effect.Prepared());
    TFlickerFreeTransition plain;
    EXPECT_EQ(plain.Direction(), TE::tedNone);
    EXPECT_EQ(plain.GetDescription(), "Flicker free cut");
    EXPECT_EQ(plain.GetEditorName(), "TTransitionEffectEditor");
    EXPECT_EQ(effect.GetDescription(), "TRecordingTransition");
}

TEST(EffectModel, VersionIsFixed)
{
    TFlickerFreeTransition effect;
    effect.setProperty("Version", "Version 9");
    EXPECT_EQ(effect.property("Version").toString(), "Version 2.6");
    TTransitionList list;
    list.setProperty("Version", "x");
    EXPECT_EQ(list.property("Version").toString(), "Version 2.6");
}

TEST(EffectModel, ReversedDirectionTable)
{
    struct Case
    {
        TE::EffectDirection direction, reversed;
    };
    const Case cases[] = {
        {TE::tedNone, TE::tedNone},          {TE::tedRight, TE::tedLeft},       {TE::tedLeft, TE::tedRight},
        {TE::tedDown, TE::tedUp},            {TE::tedUp, TE::tedDown},          {TE::tedDownRight, TE::tedUpLeft},
        {TE::tedUpLeft, TE::tedDownRight},   {TE::tedDownLeft, TE::tedUpRight}, {TE::tedUpRight, TE::tedDownLeft},
        {TE::tedIn, TE::tedOut},             {TE::tedOut, TE::tedIn},
    };
    for (const Case &c : cases) {
        TRecordingTransition effect;
        effect.AllowedDirections.set();
        effect.SetDirection(c.direction);
        EXPECT_EQ(effect.ReversedDirection(), c.reversed) << c.direction;
    }
}

TEST(EffectModel, SetDirectionIgnoresDirectionsNotAllowed)
{
    TRecordingTransition effect;  // allows right and left
    effect.SetDirection(TE::tedLeft);
    EXPECT_EQ(effect.Direction(), TE::tedLeft);
    effect.SetDirection(TE::tedDown);
    EXPECT_EQ(effect.Direction(), TE::tedLeft);
    effect.SetDirection(TE::EffectDirection(20));
    EXPECT_EQ(effect.Direction(), TE::tedLeft);
}

TEST(EffectModel, PassCountAndReversedToUse)
{
    struct Case
    {
        TE::PassSettingType setting;
        int bits;
        int passes;
    };
    const Case cases[] = {
        {TE::teOnePass, 8, 1},           {TE::teTwoPasses, 32, 2},        {TE::tePaletteDependent, 8, 2},
        {TE::tePaletteDependent, 16, 1}, {TE::tePaletteDependent, 24, 1}, {TE::tePaletteDependent, 32, 1},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(SetScreenBitsPerPixel(c.bits));
        TRecordingTransition effect;
        effect.SetPassSetting(c.setting);
        EXPECT_EQ(effect.GetPassCount(), c.passes);
        effect.Pass2Options()->SetReversed(true);
        effect.SetReversed(false);
        // With two passes pass 1 runs in the opposite sense; with one pass Reversed holds.
        EXPECT_EQ(effect.GetReversedToUse(), c.passes == 2);
        EXPECT_EQ(effect.GetDirectionToUse(), c.passes == 2 ? TE::tedLeft : TE::tedRight);
    }
    SetScreenBitsPerPixel(0);
    EXPECT_FALSE(SetScreenBitsPerPixel(12));
}

TEST(EffectModel, AssignCopiesSettingsButNotEvents)
{
    TRecordingTransition source;
    source.SetMilliseconds(700);
    source.Pass2Options()->SetDistributedTime(true);
    source.Pass2Options()->SetSolidColor(0xFF);
    source.SetPassSetting(TE::teTwoPasses);
    source.ForceRendering = true;
    source.ClientCoordinates = false;
    source.SetFlickerFreeWhenDisabled(true);
    source.SetDirection(TE::tedLeft);
    source.SetReversed(true);
    source.SetAbortOnEscape(true);
    source.OnAfterTransition = [](QObject *) {};

    TRecordingTransition target;
    target.Assign(&source);
    EXPECT_EQ(target.Milliseconds(), 700);
    EXPECT_TRUE(target.Pass2Options()->DistributedTime());
    EXPECT_EQ(target.Pass2Options()->SolidColor(), 0xFF);
    EXPECT_NE(target.Pass2Options(), source.Pass2Options());
    EXPECT_EQ(target.PassSetting(), TE::teTwoPasses);
    EXPECT_TRUE(target.ForceRendering);
    EXPECT_FALSE(target.ClientCoordinates);
    EXPECT_TRUE(target.FlickerFreeWhenDisabled());
    EXPECT_EQ(target.Direction(), TE::tedLeft);
    EXPECT_TRUE(target.Reversed());
    EXPECT_TRUE(target.AbortOnEscape());
    EXPECT_FALSE(target.OnAfterTransition);

    // A class that does not allow the direction keeps its own.
    TFlickerFreeTransition plain;
    plain.Assign(&source);
    EXPECT_EQ(plain.Direction(), TE::tedNone);
    EXPECT_EQ(plain.Milliseconds(), 700);

    TTransitionList notAnEffect;
    EXPECT_THROW(plain.Assign(&notAnEffect), TransitionError);
}

TEST(EffectModel, ListOwnsAndForgetsItsMembers)
{
    auto *list = new TTransitionList;
    QPointer<TTransitionEffect> a = new TRecordingTransition;
    QPointer<TTransitionEffect> b = new TFlickerFreeTransition;
    list->AddTransition(a);
    a->SetTransitionList(list);  // already a member: unchanged
    b->SetTransitionList(list);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Items(0), a.data());
    EXPECT_EQ(list->Items(1), b.data());
    EXPECT_EQ(b->TransitionList(), list);

    delete a.data();
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Items(0), b.data());
    try {
        list->Items(1);
        FAIL();
    } catch (const TransitionError &error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (1)");
    }
    EXPECT_THROW(list->Items(-1), TransitionError);

    TTransitionList other;
    b->SetTransitionList(&other);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(other.Count(), 1);
    other.RemoveTransition(b);
    EXPECT_EQ(b->TransitionList(), nullptr);
    list->AddTransition(b);
    delete list;
    EXPECT_TRUE(b.isNull());
}

TEST(EffectModel, RegistryCreatesByClassName)
{
    EXPECT_TRUE(RegisteredTransitionClasses().contains("TFlickerFreeTransition"));
    QObject owner;
    TTransitionEffect *effect = CreateTransitionEffect("tflickerfreetransition", &owner);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->parent(), &owner);
    EXPECT_STREQ(effect->metaObject()->className(), "TFlickerFreeTransition");
    EXPECT_EQ(CreateTransitionEffect("TNoSuchTransition"), nullptr);
    RegisterTransitionClass<TFlickerFreeTransition>();
    EXPECT_EQ(RegisteredTransitionClasses().count("TFlickerFreeTransition"), 1);
}

}  // namespace
