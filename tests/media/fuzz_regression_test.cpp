// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture.h"
#include "media/picture_error.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace lumetta;

// Inputs that once made the decoders overflow, or spend seconds and hundreds of megabytes on a
// few hundred bytes declaring a huge picture. Each must now be refused, or decoded no larger than
// its logical screen.
TEST(FuzzRegression, KeptInputsAreHandledCheaply)
{
    const QDir dir(QStringLiteral(LUMETTA_FUZZ_INPUTS));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const auto kind = PictureKindOf(name);
        ASSERT_TRUE(kind) << name.toStdString();
        try {
            Picture picture = Picture::FromData(file.readAll(), *kind, name);
            picture.DecodeNow();
            EXPECT_NE(*kind, PictureKind::Jpeg) << name.toStdString() << " declares far more pixels than it can hold";
            EXPECT_LE(qint64(picture.Width()) * picture.Height(), 1 << 20) << name.toStdString();
        } catch (const PictureError &error) {
            EXPECT_EQ(error.File(), name);
        }
    }
}
