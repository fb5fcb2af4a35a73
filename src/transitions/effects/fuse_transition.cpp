// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/fuse_transition.h"

#include "common/random.h"

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
                pattern.set(x, y);
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

TFuseTransition::TFuseTransition(QObject *Owner) : TTimedTransitionEffect(Owner)
{
}

std::optional<ValueRange> TFuseTransition::PropertyRange(const QString &Property) const
{
    if (Property == QLatin1String("Style"))
        return StyleRange;
    return TTimedTransitionEffect::PropertyRange(Property);
}

void TFuseTransition::Assign(const QObject *Source)
{
    TTimedTransitionEffect::Assign(Source);
    if (const auto *other = qobject_cast<const TFuseTransition *>(Source))
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

int TFuseTransition::FrameCountOf(int Style)
{
    if (Style == 1 || Style == 8 || Style == 9)
        return 64;
    return Style >= 2 && Style <= StyleCount ? 8 : 0;
}

int TFuseTransition::ReversedStyle(int Style)
{
    if (Style < 2 || Style > StyleCount)
        return Style;
    return Style % 2 == 0 ? Style + 1 : Style - 1;
}

void TFuseTransition::TurnOnCells(lumetta::TilePattern &Pattern, int Style, int K, int FrameCount)
{
    const int kBack = FrameCount - K + 1;
    auto square = [&](int k) {
        // column k - 1 down to row k - 1 and row k - 1 across to column k - 1
        for (int i = 0; i < k; ++i) {
            Pattern.set(k - 1, i);
            Pattern.set(i, k - 1);
        }
    };
    auto diagonal = [&](int k) {
        for (int y = 0; y < 8; ++y)
            Pattern.set(Mod8(y + k), y);
    };
    auto antiDiagonal = [&](int k) {
        for (int y = 0; y < 8; ++y)
            Pattern.set(Mod8(k - 1 - y), y);
    };
    auto row = [&](int y) { Pattern.rows[y & 7] = 0xFF; };
    auto column = [&](int x) {
        for (int y = 0; y < 8; ++y)
            Pattern.set(x, y);
    };
    if (K < 1 || K > FrameCount)
        return;
    switch (Style) {
    case 1:
        TurnOnOrderNumber(Pattern, lumetta::kOrderedDither, K);
        break;
    case 2:
        row(K - 1);
        break;
    case 3:
        row(kBack - 1);
        break;
    case 4:
        column(K - 1);
        break;
    case 5:
        column(kBack - 1);
        break;
    case 6:
        square(K);
        break;
    case 7:
        square(kBack);
        break;
    case 8:
        TurnOnOrderNumber(Pattern, kSpiral, K);
        break;
    case 9:
        TurnOnOrderNumber(Pattern, kSpiral, kBack);
        break;
    case 10:
        diagonal(K);
        break;
    case 11:
        diagonal(kBack);
        break;
    case 12:
        antiDiagonal(K);
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
            randomStyle_ = lumetta::Random(StyleCount) + 1;
        style = randomStyle_;
    }
    return GetReversedToUse() ? ReversedStyle(style) : style;
}

void TFuseTransition::Initialize(PassData &Data, int &FrameCount)
{
    lumetta::Randomize();
    pattern_ = {};
    styleInUse_ = StyleInUse();
    FrameCount = FrameCountOf(styleInUse_);
    if (Data.Bitmap != Data.SrcBmp)
        CopyRect(*Data.Bitmap, *Data.SrcBmp, Data.SrcBmp->rect());
}

void TFuseTransition::DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame)
{
    TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    const lumetta::TilePattern before = pattern_;
    for (int k = CurrentFrame - Step + 1; k <= CurrentFrame; ++k)
        TurnOnCells(pattern_, styleInUse_, k, FrameCount);
    // Cells on before already show the new picture: copy only those turned on now.
    lumetta::TilePattern joining;
    for (int y = 0; y < 8; ++y)
        joining.rows[y] = std::uint8_t(pattern_.rows[y] & ~before.rows[y]);
    lumetta::PatternCopyImage(*Data.DstBmp, *Data.GetCanvas(), joining);
    UpdateRect = QRect(0, 0, Data.Width, Data.Height);
}

void TFuseTransition::Finalize(PassData &)
{
    pattern_ = {};
    const bool keepForSecondPass = GetPassCount() == 2 && FirstPassAnimated() && !InSecondPass();
    if (!keepForSecondPass)
        randomStyle_ = 0;
}

}  // namespace lumetta
