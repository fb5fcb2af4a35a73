// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/frame_rate.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <numeric>

namespace lumetta {

namespace {

constexpr qint64 kMaxDenominator = 1'000'000;

std::optional<FrameRate> Reduced(qint64 num, qint64 den)
{
    if (num <= 0 || den <= 0)
        return std::nullopt;
    const qint64 divisor = std::gcd(num, den);
    num /= divisor;
    den /= divisor;
    // Finer fractions stand for no real rate and would overflow the frame clock's arithmetic.
    if (num > std::numeric_limits<int>::max() || den > kMaxDenominator)
        return std::nullopt;
    return FrameRate(int(num), int(den));
}

}  // namespace

std::optional<FrameRate> FrameRate::FromText(const QString &text)
{
    static const QRegularExpression kFraction(QStringLiteral("^(\\d{1,9})(?:/(\\d{1,9}))?$"));
    static const QRegularExpression kDecimal(QStringLiteral("^(\\d{1,6})\\.(\\d{1,6})$"));
    if (const QRegularExpressionMatch match = kFraction.match(text); match.hasMatch())
        return Reduced(match.captured(1).toLongLong(), match.hasCaptured(2) ? match.captured(2).toLongLong() : 1);
    const QRegularExpressionMatch match = kDecimal.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qsizetype places = match.captured(2).size();
    const qint64 scale = qint64(std::pow(10, places));
    const qint64 exact = match.captured(1).toLongLong() * scale + match.captured(2).toLongLong();
    if (exact % scale == 0)
        return Reduced(exact, scale);
    // The television rates are written rounded: 29.97 means 30000/1001, as cameras record it.
    const qint64 whole = std::llround(double(exact) / double(scale) * 1.001);
    if (whole > 0 && std::llround(double(whole) * 1000 / 1001 * double(scale)) == exact)
        return Reduced(whole * 1000, 1001);
    return Reduced(exact, scale);
}

QString FrameRate::Text() const
{
    return den == 1 ? QString::number(num) : QStringLiteral("%1/%2").arg(num).arg(den);
}

}  // namespace lumetta
