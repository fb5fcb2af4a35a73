#include "transitions/teMasked.h"

#include "common/random.h"
#include "transitions/teMaskPaint.h"
#include "transitions/teMaskWk.h"

#include <algorithm>
#include <cstring>

namespace {

// prev |= mask and mask &= ~old prev, word by word: the mask keeps only newly set pixels.
void applyDeltaMask(QImage &mask, QImage &prev)
{
    uchar *m = mask.bits();
    uchar *p = prev.bits();
    const qsizetype bytes = std::min(mask.sizeInBytes(), prev.sizeInBytes());
    qsizetype i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t mw, pw;
        std::memcpy(&mw, m + i, 8);
        std::memcpy(&pw, p + i, 8);
        const std::uint64_t fresh = mw & ~pw;
        pw |= mw;
        std::memcpy(m + i, &fresh, 8);
        std::memcpy(p + i, &pw, 8);
    }
    for (; i < bytes; ++i) {
        const uchar fresh = uchar(m[i] & ~p[i]);
        p[i] = uchar(p[i] | m[i]);
        m[i] = fresh;
    }
}

// Read-only planes use constBits so that shared image data is never detached per frame.
lumetta::MaskPlane readPlane(const QImage *image)
{
    if (!image)
        return {};
    return {const_cast<uchar *>(image->constBits()), std::intptr_t(image->bytesPerLine())};
}

}  // namespace

TMaskedTransition::TMaskedTransition(QObject *Owner) : TTimedTransitionEffect(Owner) {}

TMaskedTransition::~TMaskedTransition() = default;

void TMaskedTransition::Assign(const QObject *Source)
{
    TTimedTransitionEffect::Assign(Source);
    if (auto *masked = qobject_cast<const TMaskedTransition *>(Source)) {
        SetStyle(masked->Style());
        SetSubStyle(masked->SubStyle());
    }
}

int TMaskedTransition::GetBitmapsWidth(int Width) const { return lumetta::MaskedBitmapWidth(Width); }

bool TMaskedTransition::AllowSrcRendering() const { return false; }

bool TMaskedTransition::NeedWorkBitmap() const { return true; }

bool TMaskedTransition::WorkOnSrcBitmap() const { return true; }

QString TMaskedTransition::GetEditorName() const { return QStringLiteral("TMaskedTransitionEditor"); }

int TMaskedTransition::ReversedSubStyle(int, int SubStyle) const { return SubStyle; }

bool TMaskedTransition::UsesDeltaMask() const { return false; }

bool TMaskedTransition::ClearsMaskEachFrame() const { return false; }

int TMaskedTransition::SubStyleCount(int Style) const { return Style != 0 ? 1 : 0; }

void TMaskedTransition::SetStyle(int Value)
{
    if (Value == m_style)
        return;
    m_style = Value;
    SetSubStyle(Value != 0 ? 1 : 0);
}

void TMaskedTransition::SetSubStyle(int Value) { m_subStyle = Value; }

int TMaskedTransition::GetStyleToUse()
{
    if (m_style != 0)
        return m_style;
    if (m_randomStyle == 0)
        m_randomStyle = lumetta::Random(m_styleCount) + 1;
    return m_randomStyle;
}

int TMaskedTransition::GetSubStyleToUse()
{
    int subStyle = m_subStyle;
    if (subStyle == 0) {
        if (m_randomSubStyle == 0)
            m_randomSubStyle = lumetta::Random(SubStyleCount(GetStyleToUse())) + 1;
        subStyle = m_randomSubStyle;
    }
    return GetReversedToUse() ? ReversedSubStyle(GetStyleToUse(), subStyle) : subStyle;
}

void TMaskedTransition::Initialize(TTETransitionData &Data, int &)
{
    lumetta::Randomize();
    m_mask = std::make_unique<QImage>(lumetta::CreateMask(Data.Width, Data.Height));
    if (UsesDeltaMask())
        m_prevMask = std::make_unique<QImage>(lumetta::CreateMask(Data.Width, Data.Height));
    if (Data.Bitmap && Data.SrcBmp && Data.Bitmap != Data.SrcBmp)
        CopyRect(*Data.Bitmap, *Data.SrcBmp, Data.SrcBmp->rect());
}

void TMaskedTransition::DrawFrame(TTETransitionData &Data, int CurrentFrame, int Step, int FrameCount,
                                  int PrevFrame)
{
    TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    const QRect area(0, 0, Data.Width, Data.Height);
    bool whiteIsNew = false;
    if (Offscreen) {
        UpdateRect = area;
        DrawMask(*m_mask, CurrentFrame, Step, FrameCount, PrevFrame, Data, whiteIsNew);
        UpdateRect = UpdateRect.intersected(area);
        if (!whiteIsNew)
            lumetta::InvertMask(*m_mask);
        if (m_prevMask)
            applyDeltaMask(*m_mask, *m_prevMask);
        Combine(Data);
    } else {
        DrawMask(*m_mask, CurrentFrame, Step, FrameCount, PrevFrame, Data, whiteIsNew);
    }
    if (ClearsMaskEachFrame())
        lumetta::ClearMask(*m_mask);
}

void TMaskedTransition::Combine(TTETransitionData &Data)
{
    if (!Data.Bitmap || !Data.DstBmp || UpdateRect.isEmpty())
        return;
    const int bpp = PixelFormatBits(Data.PixelFormat);
    const int storage = bpp == 15 ? 16 : bpp;
    // pf1bit and pfDevice combine nothing; bitmaps of another depth would be overrun.
    if (bpp < 4 || Data.Bitmap->depth() != storage || Data.DstBmp->depth() != storage ||
        (Data.SrcBmp && Data.SrcBmp->depth() != storage))
        return;
    const int width = std::min({m_mask->width(), Data.Bitmap->width(), Data.DstBmp->width(),
                                Data.SrcBmp ? Data.SrcBmp->width() : m_mask->width()});
    const int bottom = std::min({UpdateRect.y() + UpdateRect.height(), m_mask->height(),
                                 Data.Bitmap->height(), Data.DstBmp->height(),
                                 Data.SrcBmp ? Data.SrcBmp->height() : m_mask->height()});
    const lumetta::MaskPlane work{Data.Bitmap->bits(), std::intptr_t(Data.Bitmap->bytesPerLine())};
    lumetta::CombineMaskedRows(readPlane(m_mask.get()), readPlane(Data.DstBmp), readPlane(Data.SrcBmp),
                               work, width, UpdateRect.y(), bottom, bpp);
}

void TMaskedTransition::Finalize(TTETransitionData &Data)
{
    m_mask.reset();
    m_prevMask.reset();
    if (GetPassCount() == 1 || !FirstPassAnimated() || InSecondPass()) {
        m_randomStyle = 0;
        m_randomSubStyle = 0;
    }
    TTimedTransitionEffect::Finalize(Data);
}
