// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/form_reader.h"
#include "transitions/engine/noise_picture.h"
#include "transitions/transitions.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace lumetta {

namespace {

// Inputs the effect fuzzers once failed on, replayed as the targets read them: a class byte, a
// screen depth byte, then property lines, as lumetta-fx --set takes them (fx_set-*) or as the
// body of an effect in a description (form_values-*). Each effect must run to its end with the
// area showing the new picture.
TEST(FuzzRegression, KeptEffectSettingsRunToTheNewPicture)
{
    const QDir dir(QStringLiteral(LUMETTA_FUZZ_INPUTS));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    RegisterTransitionClasses();
    const QStringList classes = RegisteredTransitionClasses();
    const QImage from = NoisePicture({37, 11}, 1);
    const QImage to = NoisePicture({37, 11}, 2);
    const int depths[] = {32, 24, 16, 15, 8};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 2);
        const QString className = classes[quint8(bytes[0]) % classes.size()];
        const QString body = QString::fromUtf8(bytes.mid(2));
        TTransitionList list;
        std::unique_ptr<TTransitionEffect> own;
        TTransitionEffect *effect = nullptr;
        if (name.startsWith(QLatin1String("fx_set-"))) {
            own.reset(CreateTransitionEffect(className));
            for (const QString &assignment : body.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                SetPropertyFromAssignment(own.get(), assignment);
            effect = own.get();
        } else {
            ReadTransitionList(QStringLiteral("object Trans: TTransitionList\n  object Effect: %1\n%2\n  end\nend\n")
                                   .arg(className, body),
                               &list);
            effect = list.Items(0);
        }
        SetScreenBitsPerPixel(depths[quint8(bytes[1]) % 5]);
        QImage shown;
        FrameStepping stepping;
        try {
            effect->ExecuteOnImages(from, to, shown, &stepping);
        } catch (const TransitionAborted &) {
        }
        EXPECT_EQ(shown, ConvertToPixelFormat(to, ScreenPixelFormat()));
        SetScreenBitsPerPixel(0);
    }
}

}  // namespace

}  // namespace lumetta
