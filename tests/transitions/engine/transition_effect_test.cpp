// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_effects.h"

#include "effect_run.h"

#include "transitions/engine/form_reader.h"
#include "transitions/engine/noise_picture.h"
#include "transitions/transitions.h"

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QPointer>

#include <limits>

namespace lumetta {

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
    EXPECT_TRUE(effect.clientCoordinates);
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
        {TE::tedNone, TE::tedNone},        {TE::tedRight, TE::tedLeft},       {TE::tedLeft, TE::tedRight},
        {TE::tedDown, TE::tedUp},          {TE::tedUp, TE::tedDown},          {TE::tedDownRight, TE::tedUpLeft},
        {TE::tedUpLeft, TE::tedDownRight}, {TE::tedDownLeft, TE::tedUpRight}, {TE::tedUpRight, TE::tedDownLeft},
        {TE::tedIn, TE::tedOut},           {TE::tedOut, TE::tedIn},
    };
    for (const Case &c : cases) {
        TRecordingTransition effect;
        effect.allowedDirections.set();
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
    source.forceRendering = true;
    source.clientCoordinates = false;
    source.SetFlickerFreeWhenDisabled(true);
    source.SetDirection(TE::tedLeft);
    source.SetReversed(true);
    source.SetAbortOnEscape(true);
    source.onAfterTransition = [](QObject *) {};

    TRecordingTransition target;
    target.Assign(&source);
    EXPECT_EQ(target.Milliseconds(), 700);
    EXPECT_TRUE(target.Pass2Options()->DistributedTime());
    EXPECT_EQ(target.Pass2Options()->SolidColor(), 0xFF);
    EXPECT_NE(target.Pass2Options(), source.Pass2Options());
    EXPECT_EQ(target.PassSetting(), TE::teTwoPasses);
    EXPECT_TRUE(target.forceRendering);
    EXPECT_FALSE(target.clientCoordinates);
    EXPECT_TRUE(target.FlickerFreeWhenDisabled());
    EXPECT_EQ(target.Direction(), TE::tedLeft);
    EXPECT_TRUE(target.Reversed());
    EXPECT_TRUE(target.AbortOnEscape());
    EXPECT_FALSE(target.onAfterTransition);

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
    EXPECT_EQ(StoredClassName(effect), "TFlickerFreeTransition");
    EXPECT_EQ(CreateTransitionEffect("TNoSuchTransition"), nullptr);
    RegisterTransitionClass<TFlickerFreeTransition>("TFlickerFreeTransition");
    EXPECT_EQ(RegisteredTransitionClasses().count("TFlickerFreeTransition"), 1);
    // Every class registers under its name without the namespace, as stored descriptions name it.
    for (const QString &name : RegisteredTransitionClasses()) {
        std::unique_ptr<TTransitionEffect> created(CreateTransitionEffect(name));
        ASSERT_NE(created, nullptr) << name.toStdString();
        EXPECT_EQ(StoredClassName(created.get()), name);
        EXPECT_FALSE(name.contains(QLatin1Char(':'))) << name.toStdString();
    }
}

// Every numeric property of every effect class keeps to its range: descriptions and tools are
// refused outside it with a message naming the property, and the setter clamps into it.
TEST(EffectModel, NumericPropertiesKeepToTheirRanges)
{
    int ranged = 0;
    for (const QString &className : RegisteredTransitionClasses()) {
        std::unique_ptr<TTransitionEffect> effect(CreateTransitionEffect(className));
        const QMetaObject *meta = effect->metaObject();
        for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            const QString name = QString::fromLatin1(property.name());
            const std::optional<ValueRange> range = effect->PropertyRange(name);
            if (property.metaType().id() != QMetaType::Int || property.isEnumType() || !property.isWritable())
                continue;
            ASSERT_TRUE(range) << qPrintable(className) << "." << qPrintable(name) << " has no range";
            ++ranged;
            const QString where = className + QLatin1Char('.') + name;
            SetPropertyFromText(effect.get(), name, QString::number(range->maximum));
            EXPECT_EQ(property.read(effect.get()).toInt(), range->maximum) << qPrintable(where);
            for (const long long outside : {(long long)range->maximum + 1, (long long)range->minimum - 1,
                                            (long long)std::numeric_limits<int>::max() + 1}) {
                try {
                    SetPropertyFromText(effect.get(), name, QString::number(outside));
                    ADD_FAILURE() << qPrintable(where) << " took " << outside;
                } catch (const TransitionError &error) {
                    EXPECT_EQ(QString::fromUtf8(error.what()),
                              QStringLiteral("Invalid value %1 for property %2: it must lie between %3 and %4")
                                  .arg(outside)
                                  .arg(name)
                                  .arg(range->minimum)
                                  .arg(range->maximum));
                }
            }
            EXPECT_EQ(property.read(effect.get()).toInt(), range->maximum) << qPrintable(where);
            property.write(effect.get(), std::numeric_limits<int>::max());
            EXPECT_EQ(property.read(effect.get()).toInt(), range->maximum) << qPrintable(where);
            property.write(effect.get(), std::numeric_limits<int>::min());
            const int low = property.read(effect.get()).toInt();
            EXPECT_GE(low, range->minimum) << qPrintable(where);
            EXPECT_LE(low, range->maximum) << qPrintable(where);
        }
    }
    // Milliseconds of each timed class, BandWidth, the block's four sizes, Style and SubStyle.
    EXPECT_GE(ranged, 15);
}

// Each effect still runs to its end with every ranged property at its limits.
TEST(EffectModel, EffectsRunAtTheLimitsOfTheirRanges)
{
    const QImage from = NoisePicture({24, 10}, 1);
    const QImage to = NoisePicture({24, 10}, 2);
    for (const QString &className : RegisteredTransitionClasses()) {
        for (const bool atMaximum : {false, true}) {
            std::unique_ptr<TTransitionEffect> effect(CreateTransitionEffect(className));
            const QMetaObject *meta = effect->metaObject();
            for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
                const QMetaProperty property = meta->property(i);
                const QString name = QString::fromLatin1(property.name());
                if (name == QLatin1String("Milliseconds"))
                    continue;  // a run is unpaced headless anyway
                if (const std::optional<ValueRange> range = effect->PropertyRange(name))
                    SetPropertyFromText(effect.get(), name,
                                        QString::number(atMaximum ? range->maximum : range->minimum));
            }
            const lumetta::test::EffectRun run = lumetta::test::RunKeeping(*effect, from, to, {}, 7);
            EXPECT_EQ(run.final.convertToFormat(QImage::Format_RGB32), to.convertToFormat(QImage::Format_RGB32))
                << qPrintable(className) << (atMaximum ? " at the maxima" : " at the minima");
        }
    }
}

TEST(EffectModel, MillisecondsTakeZeroToAMinute)
{
    TRecordingTransition effect;
    effect.SetMilliseconds(-20);
    EXPECT_EQ(effect.Milliseconds(), 0);
    effect.SetMilliseconds(1700);
    EXPECT_EQ(effect.Milliseconds(), 1700);
    effect.SetMilliseconds(std::numeric_limits<int>::max());
    EXPECT_EQ(effect.Milliseconds(), 60000);
}

}  // namespace

}  // namespace lumetta
