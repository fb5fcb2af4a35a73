// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/picture_error.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <span>

namespace testpictures {

// Damaged data for a decoder and a word its refusal must give as the reason.
struct DamagedCase
{
    const char *what;
    QByteArray data;
    const char *reason;
};

// Expects decode to refuse every case with a PictureError naming the file and giving the reason.
inline void ExpectRefused(QImage (*decode)(const QByteArray &, const QString &), const QString &file,
                          std::span<const DamagedCase> cases)
{
    for (const DamagedCase &c : cases) {
        try {
            decode(c.data, file);
            ADD_FAILURE() << c.what << " decoded";
        } catch (const lumetta::PictureError &e) {
            EXPECT_EQ(e.File(), file);
            EXPECT_TRUE(e.Reason().contains(c.reason)) << c.what << ": " << e.Reason().toStdString();
        }
    }
}

}  // namespace testpictures
