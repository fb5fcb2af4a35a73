// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/effect_run.h"
#include "transitions/pixel_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

// Checks of effect frames against pixels picked from the old and new pictures by the rules.
namespace lumetta::test {

inline const int kScreenDepths[] = {8, 15, 16, 24, 32};

// picture as the engine converts it for the pixel format of shown.
inline QImage AsShown(const QImage &picture, const QImage &shown)
{
    return ConvertToPixelFormat(picture, PixelFormatOfImage(shown));
}

// Nearest integer with halves to even, as the effects round their shares.
inline int RoundHalfEven(double v)
{
    return int(std::nearbyint(v));
}

// Every pixel of shown equals the same pixel of to where pick(x, y) holds and of from elsewhere;
// the pictures must already be in shown's format.
inline ::testing::AssertionResult ShowsPicked(const QImage &shown, const QImage &from, const QImage &to,
                                              const std::function<bool(int, int)> &pick)
{
    if (shown.size() != to.size() || shown.format() != to.format())
        return ::testing::AssertionFailure() << "size or format differs";
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const bool isNew = pick(x, y);
            if (RawPixel(shown, x, y) != RawPixel(isNew ? to : from, x, y))
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " should show the " << (isNew ? "new" : "old") << " picture";
        }
    return ::testing::AssertionSuccess();
}

// Every pixel (x, y) of shown equals pixel source(x, y) of to.
inline ::testing::AssertionResult ShowsNewAt(const QImage &shown, const QImage &to,
                                             const std::function<QPoint(int, int)> &source)
{
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QPoint s = source(x, y);
            if (RawPixel(shown, x, y) != RawPixel(to, s.x(), s.y()))
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " is not new pixel " << s.x() << "," << s.y();
        }
    return ::testing::AssertionSuccess();
}

}  // namespace lumetta::test
