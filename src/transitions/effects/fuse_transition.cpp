// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/fuse_transition.h"

#include "common/random.h"
#include "transitions/engine/core_conversions.h"

namespace lumetta {

namespace {

int Mod8(int value)
{
    return ((value % 8) + 8) % 8;
}

void TurnOnOrderNumber(lumetta::TilePattern &pattern, const std::array<std::array<std::uint8_t, 8>, 8> &order,
                       int number)
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (order[y][x] == number)
                pattern.Set(x, y);
}

}  // namespace

const std::array<std::array<std::uint8_t, 8>, 8> TFuseTransition::kSpiral = {{
    {64, 37, 38, 39, 40, 41, 42, 43},
    {63, 36, 17, 18, 19, 20, 21, 44},
    {62, 35, 16, 5, 6, 7, 22, 45},
    {61, 34, 15, 4, 1, 8, 23, 46},
    {60, 33, 14, 3, 2, 9, 24, 47},
    {59, 32, 13, 12, 11, 10, 25, 48},
    {58, 31, 30, 29, 28, 27, 26, 49},
    {57, 56, 55, 54, 53, 52, 51, 50},
}};

TFuseTransition::TFuseTransition(QObject *owner) : TTimedTransitionEffect(owner)
{
}

std::optional<ValueRange> TFuseTransition::PropertyRange(const QString &property) const
{
    if (property == QLatin1String("Style"))
        return kStyleRange;
    return TTimedTransitionEffect::PropertyRange(property);
}

void TFuseTransition::Assign(const QObject *source)
{
    TTimedTransitionEffect::Assign(source);
    if (const auto *other = qobject_cast<const TFuseTransition *>(source))
        style_ = other->style_;
}

QString TFuseTransition::GetDescription() const
{
    return QStringLiteral("Fuse");
}

QString TFuseTransition::GetEditorName() const
{
    return QStringLiteral("TFuseTransitionEditor");
}

bool TFuseTransition::AllowSrcRendering() const
{
    return false;
}

bool TFuseTransition::NeedWorkBitmap() const
{
    return true;
}

bool TFuseTransition::WorkOnSrcBitmap() const
{
    return true;
}

int TFuseTransition::FrameCountOf(int style)
{
    if (style == 1 || style == 8 || style == 9)
        return 64;
    return style >= 2 && style <= kStyleCount ? 8 : 0;
}

int TFuseTransition::ReversedStyle(int style)
{
    if (style < 2 || style > kStyleCount)
        return style;
    return style % 2 == 0 ? style + 1 : style - 1;
}

void TFuseTransition::TurnOnCells(lumetta::TilePattern &pattern, int style, int k, int frameCount)
{
    const int kBack = frameCount - k + 1;
    auto square = [&](int k) {
        // column k - 1 down to row k - 1 and row k - 1 across to column k - 1
        for (int i = 0; i < k; ++i) {
            pattern.Set(k - 1, i);
            pattern.Set(i, k - 1);
        }
    };
    auto diagonal = [&](int k) {
        for (int y = 0; y < 8; ++y)
            pattern.Set(Mod8(y + k), y);
    };
    auto antiDiagonal = [&](int k) {
        for (int y = 0; y < 8; ++y)
            pattern.Set(Mod8(k - 1 - y), y);
    };
    auto row = [&](int y) { pattern.rows[y & 7] = 0xFF; };
    auto column = [&](int x) {
        for (int y = 0; y < 8; ++y)
            pattern.Set(x, y);
    };
    if (k < 1 || k > frameCount)
        return;
    switch (style) {
    case 1:
        TurnOnOrderNumber(pattern, lumetta::kOrderedDither, k);
        break;
    case 2:
        row(k - 1);
        break;
    case 3:
        row(kBack - 1);
        break;
    case 4:
        column(k - 1);
        break;
    case 5:
        column(kBack - 1);
        break;
    case 6:
        square(k);
        break;
    case 7:
        square(kBack);
        break;
    case 8:
        TurnOnOrderNumber(pattern, kSpiral, k);
        break;
    case 9:
        TurnOnOrderNumber(pattern, kSpiral, kBack);
        break;
    case 10:
        diagonal(k);
        break;
    case 11:
        diagonal(kBack);
        break;
    case 12:
        antiDiagonal(k);
        break;
    case 13:
        antiDiagonal(kBack);
        break;
    default:
        break;
    }
}

int TFuseTransition::StyleInUse()
{
    int style = style_;
    if (style == 0) {
        if (randomStyle_ == 0)
            randomStyle_ = lumetta::Random(kStyleCount) + 1;
        style = randomStyle_;
    }
    return GetReversedToUse() ? ReversedStyle(style) : style;
}

void TFuseTransition::Initialize(PassData &data, int &frameCount)
{
    lumetta::Randomize();
    pattern_ = {};
    styleInUse_ = StyleInUse();
    frameCount = FrameCountOf(styleInUse_);
    if (data.bitmap != data.srcBmp)
        CopyRect(*data.bitmap, *data.srcBmp, data.srcBmp->rect());
}

void TFuseTransition::DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame)
{
    TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    const lumetta::TilePattern before = pattern_;
    for (int k = currentFrame - step + 1; k <= currentFrame; ++k)
        TurnOnCells(pattern_, styleInUse_, k, frameCount);
    // Cells on before already show the new picture: copy only those turned on now.
    lumetta::TilePattern joining;
    for (int y = 0; y < 8; ++y)
        joining.rows[y] = std::uint8_t(pattern_.rows[y] & ~before.rows[y]);
    lumetta::PatternCopyImage(ReadView(*data.dstBmp), WritableView(*data.GetCanvas()), joining);
    updateRect = QRect(0, 0, data.width, data.height);
}

void TFuseTransition::Finalize(PassData &)
{
    pattern_ = {};
    const bool keepForSecondPass = GetPassCount() == 2 && FirstPassAnimated() && !InSecondPass();
    if (!keepForSecondPass)
        randomStyle_ = 0;
}

}  // namespace lumetta
