// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace lumetta {

// A video's frames a second as an exact fraction, so 30000/1001 stays what it is (a rounded
// 29.97 would drift a frame every few minutes against the music).
struct FrameRate
{
    // A whole number of frames a second.
    constexpr FrameRate(int frames = 30) : num(frames) {}  // NOLINT(google-explicit-constructor)
    constexpr FrameRate(int numerator, int denominator) : num(numerator), den(denominator) {}

    // "30", "30000/1001", "12.5", or a decimal that stands for a 1000/1001 rate ("29.97",
    // "23.976", "59.94") as that rate; reduced to lowest terms. Nullopt for anything else, a zero
    // or a reduced denominator above a million included.
    static std::optional<FrameRate> FromText(const QString &text);

    double Value() const { return double(num) / den; }
    // "30" for a whole rate, else "30000/1001".
    QString Text() const;

    friend bool operator==(const FrameRate &, const FrameRate &) = default;

    int num;
    int den = 1;
};

}  // namespace lumetta
