// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_effects.h"

#include "transitions/effects/circle_transition.h"
#include "transitions/effects/wipe_transition.h"
#include "transitions/engine/form_reader.h"
#include "transitions/transitions.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>

namespace lumetta {

namespace {

// The test effect is created by class name like any effect of the library.
struct RegisterTestClasses
{
    RegisterTestClasses() { RegisterTransitionClass<TRecordingTransition>("TRecordingTransition"); }
} const kRegisterTestClasses;

const char kDescription[] = "object Trans: TTransitionList\r\n"
                            "  object First: TRecordingTransition\r\n"
                            "    Frames = 25\r\n"
                            "    Milliseconds = 1700\r\n"
                            "    Direction = tedLeft\r\n"
                            "    AbortOnEscape = True\r\n"
                            "    PassSetting = teTwoPasses\r\n"
                            "    Pass2Options.UseSolidColor = False\r\n"
                            "    Pass2Options.SolidColor = clNavy\r\n"
                            "  end\r\n"
                            "\n"
                            "  object Cut: TFlickerFreeTransition\n"
                            "  end\n"
                            "end\n";

TEST(FormReader, CreatesEffectsInOrderWithTheirProperties)
{
    QObject form;
    TTransitionList list(&form);
    ReadTransitionList(QString::fromLatin1(kDescription), &list, &form);
    EXPECT_EQ(list.objectName(), "Trans");
    ASSERT_EQ(list.Count(), 2);
    auto *first = qobject_cast<TRecordingTransition *>(list.Items(0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->objectName(), "First");
    EXPECT_EQ(first->parent(), &form);
    EXPECT_EQ(first->TransitionList(), &list);
    EXPECT_EQ(first->Frames(), 25);
    EXPECT_EQ(first->Milliseconds(), 1700);
    EXPECT_EQ(first->Direction(), TTransitionEffect::tedLeft);
    EXPECT_TRUE(first->AbortOnEscape());
    EXPECT_EQ(first->PassSetting(), TTransitionEffect::teTwoPasses);
    EXPECT_FALSE(first->Pass2Options()->UseSolidColor());
    EXPECT_EQ(first->Pass2Options()->SolidColor(), 0x800000);
    // Unlisted properties keep their defaults.
    EXPECT_TRUE(first->Enabled());
    EXPECT_FALSE(first->AbortOnClick());
    EXPECT_FALSE(first->Pass2Options()->DistributedTime());
    EXPECT_EQ(StoredClassName(list.Items(1)), "TFlickerFreeTransition");
    EXPECT_EQ(list.Items(1)->objectName(), "Cut");
}

TEST(FormReader, MalformedDescriptionsNameTheLine)
{
    struct Case
    {
        const char *text;
        const char *message;
    };
    const Case cases[] = {
        {"object T: TTransitionList\n  object A: TNoSuchTransition\n  end\nend\n",
         "Line 2: unknown class TNoSuchTransition"},
        {"object T: TTransitionList\n  object A: TFlickerFreeTransition\n    Colour = 3\n  end\nend\n",
         "Line 3: TFlickerFreeTransition has no property Colour"},
        {"object T: TTransitionList\n  object A: TRecordingTransition\n\n    Frames = many\n  end\nend\n",
         "Line 4: Invalid value many for property Frames"},
        {"object T: TTransitionList\n  object A: TRecordingTransition\n    Direction = tedSideways\n  end\nend\n",
         "Line 3: Invalid value tedSideways for property Direction"},
        {"object T: TTransitionList\n  object A: TFlickerFreeTransition\n    Enabled = yes\n  end\nend\n",
         "Line 3: Invalid value yes for property Enabled"},
        {"object T: TTransitionList\n  object A: TFlickerFreeTransition\n  end\n", "Line 4: missing end"},
        {"object T: TTransitionList\nend\nend\n", "Line 3: text after the end of the description"},
        {"object T: TFlickerFreeTransition\nend\n",
         "Line 1: the description must start with a TTransitionList, not TFlickerFreeTransition"},
        {"object T: TTransitionList\n  Milliseconds 5\nend\n", "Line 2: cannot read \"Milliseconds 5\""},
        {"  Enabled = True\n", "Line 1: property outside an object"},
        {"end\n", "Line 1: end without object"},
        {"object T: TTransitionList\n  object A: TFlickerFreeTransition\n    object B: TFlickerFreeTransition\n",
         "Line 3: an effect cannot contain objects"},
    };
    for (const Case &c : cases) {
        TTransitionList list;
        try {
            ReadTransitionList(QString::fromLatin1(c.text), &list);
            ADD_FAILURE() << "no failure for: " << c.text;
        } catch (const TransitionError &error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(list.Count(), 0);
        EXPECT_TRUE(list.children().isEmpty());
    }
}

TEST(FormReader, FilesAndUnreadableFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.dfm");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kDescription);
    file.close();
    TTransitionList list;
    ReadTransitionListFile(path, &list);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0)->parent(), &list);
    EXPECT_THROW(ReadTransitionListFile(dir.filePath("missing.dfm"), &list), TransitionError);
}

TEST(FormReader, ColourTexts)
{
    struct Case
    {
        const char *text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"clWhite", true, 0xFFFFFF},
        {"clRed", true, 0x0000FF},
        {"$00D5E7EA", true, 0xD5E7EA},
        {"$1FFFFFFF", true, 0x1FFFFFFF},
        {"255", true, 255},
        {"-1", true, -1},
        {"clwhite", false, 0},
        {"$", false, 0},
        {"$123456789", false, 0},
        {"red", false, 0},
    };
    for (const Case &c : cases) {
        int value = 0;
        EXPECT_EQ(ColorFromText(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(FormReader, SetPropertyFromTextTakesToolSpellings)
{
    TRecordingTransition effect;
    SetPropertyFromText(&effect, "Enabled", "false");
    EXPECT_FALSE(effect.Enabled());
    SetPropertyFromText(&effect, "Pass2Options.Reversed", "TRUE");
    EXPECT_TRUE(effect.Pass2Options()->Reversed());
    EXPECT_THROW(SetPropertyFromText(&effect, "Pass2Options.Nothing", "1"), TransitionError);
    EXPECT_THROW(SetPropertyFromText(&effect, "Nothing.Reversed", "1"), TransitionError);
    EXPECT_THROW(SetPropertyFromText(&effect, "Version", "x"), TransitionError);  // strings are quoted
    SetPropertyFromText(&effect, "Version", "'Version 3'");
    EXPECT_EQ(effect.Version(), "Version 2.6");
}

// The form system reads keywords, class, property and value names in any letter case.
TEST(FormReader, IgnoresLetterCaseInKeywordsAndNames)
{
    TTransitionList list;
    ReadTransitionList(QStringLiteral("OBJECT Trans: ttransitionlist\n"
                                      "  Object Slow: TRECORDINGTRANSITION\n"
                                      "    milliseconds = 1700\n"
                                      "    FRAMES = 12\n"
                                      "    direction = TEDLEFT\n"
                                      "    pass2options.usesolidcolor = false\n"
                                      "    PassSetting = teTwoPasses\n"
                                      "  End\n"
                                      "END\n"),
                       &list);
    ASSERT_EQ(list.Count(), 1);
    auto *slow = qobject_cast<TRecordingTransition *>(list.Items(0));
    ASSERT_NE(slow, nullptr);
    EXPECT_EQ(slow->objectName(), "Slow");
    EXPECT_EQ(slow->Milliseconds(), 1700);
    EXPECT_EQ(slow->Frames(), 12);
    EXPECT_EQ(slow->Direction(), TTransitionEffect::tedLeft);
    EXPECT_FALSE(slow->Pass2Options()->UseSolidColor());
    EXPECT_EQ(slow->PassSetting(), TTransitionEffect::teTwoPasses);
}

TEST(FormReader, RefusesWhatTheFormSystemRefuses)
{
    struct Case
    {
        const char *body;
        const char *message;
    };
    const Case cases[] = {
        {"  object A: TFlickerFreeTransition\n  end\n  object a: TFlickerFreeTransition\n  end\n",
         "Line 4: a component named a exists already"},
        {"  object Trans: TFlickerFreeTransition\n  end\n", "Line 2: a component named Trans exists already"},
        {"  object A: TRecordingTransition\n    Milliseconds = clRed\n  end\n",
         "Line 3: Invalid value clRed for property Milliseconds"},
        {"  object A: TRecordingTransition\n    Frames = $FFFFFFFF\n  end\n",
         "Line 3: Invalid value $FFFFFFFF for property Frames: it must lie between 0 and 100000"},
        {"  object A: TRecordingTransition\n    Milliseconds = 2147483648\n  end\n",
         "Line 3: Invalid value 2147483648 for property Milliseconds: it must lie between 0 and 60000"},
        {"  object A: TWipeTransition\n    BandWidth = 2147483647\n  end\n",
         "Line 3: Invalid value 2147483647 for property BandWidth: it must lie between 0 and 16384"},
        {"  object A: TCircleTransition\n    Style = -1\n  end\n",
         "Line 3: Invalid value -1 for property Style: it must lie between 0 and 65535"},
        {"  object A: TCircleTransition\n    SubStyle = 65536\n  end\n",
         "Line 3: Invalid value 65536 for property SubStyle: it must lie between 0 and 65535"},
        {"  object A: TRecordingTransition\n    Frames = 1.5\n  end\n",
         "Line 3: Invalid value 1.5 for property Frames"},
        {"  object A: TRecordingTransition\n    Pass2Options.SolidColor = 12x\n  end\n",
         "Line 3: Invalid value 12x for property Pass2Options.SolidColor"},
        {"  object A: TFlickerFreeTransition\n    objectName = 'B'\n  end\n",
         "Line 3: Property objectName of TFlickerFreeTransition cannot be set"},
        {"  object A: TFlickerFreeTransition\n    ObjectName = 'B'\n  end\n",
         "Line 3: Property ObjectName of TFlickerFreeTransition cannot be set"},
        {"  objectName = 'B'\n", "Line 2: Property objectName of TTransitionList cannot be set"},
    };
    for (const Case &c : cases) {
        TTransitionList list;
        try {
            ReadTransitionList(QStringLiteral("object Trans: TTransitionList\n") + QString::fromLatin1(c.body)
                                   + QStringLiteral("end\n"),
                               &list);
            ADD_FAILURE() << "no failure for: " << c.body;
        } catch (const TransitionError &error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.objectName(), "");
    }
}

TEST(FormReader, NumbersInDecimalAndHexadecimalWithinRange)
{
    TRecordingTransition effect;
    SetPropertyFromText(&effect, "Frames", "$1F");
    EXPECT_EQ(effect.Frames(), 31);
    SetPropertyFromText(&effect, "Frames", "+7");
    EXPECT_EQ(effect.Frames(), 7);
    SetPropertyFromText(&effect, "Pass2Options.SolidColor", "$FFFFFFFF");
    EXPECT_EQ(effect.Pass2Options()->SolidColor(), 0xFFFFFFFFu);
    SetPropertyFromText(&effect, "Pass2Options.SolidColor", "clRed");
    EXPECT_EQ(effect.Pass2Options()->SolidColor(), 0x0000FFu);
    SetPropertyFromAssignment(&effect, " Milliseconds = 250 ");
    EXPECT_EQ(effect.Milliseconds(), 250);
    for (const char *text : {"$", "$G", "--1", "", "1e3", "٣"})
        EXPECT_THROW(SetPropertyFromText(&effect, "Frames", text), TransitionError) << text;
    EXPECT_THROW(SetPropertyFromAssignment(&effect, "Frames"), TransitionError);
    EXPECT_THROW(SetPropertyFromAssignment(&effect, "=3"), TransitionError);
    EXPECT_EQ(effect.Frames(), 7);
}

TEST(FormReader, FilesAreReadWithinALimitAndOnlyWhenRegular)
{
    QTemporaryDir dir;
    const QString big = dir.filePath("big.dfm");
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kDescription);
    file.write(QByteArray((1 << 20) - qsizetype(sizeof kDescription) + 2, ' '));
    file.close();
    TTransitionList list;
    try {
        ReadTransitionListFile(big, &list);
        ADD_FAILURE() << "a file over a megabyte was read";
    } catch (const TransitionError &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  QStringLiteral("Cannot read %1: a description is a file of at most 1048576 bytes").arg(big));
    }
    const QString fifo = dir.filePath("pipe.dfm");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, QStringLiteral("/dev/zero")}) {
        try {
            ReadTransitionListFile(path, &list);
            ADD_FAILURE() << qPrintable(path) << " was read";
        } catch (const TransitionError &error) {
            EXPECT_EQ(QString::fromUtf8(error.what()),
                      QStringLiteral("Cannot read %1: it is not a regular file").arg(path));
        }
    }
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace

}  // namespace lumetta
