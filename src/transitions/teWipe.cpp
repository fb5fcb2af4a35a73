#include "transitions/teWipe.h"

#include "common/arith.h"
#include "common/random.h"

#include <algorithm>

using lumetta::TERect;

namespace {

bool IsStraight(TTransitionEffect::TTEEffectDirection d)
{
    return d == TTransitionEffect::tedRight || d == TTransitionEffect::tedLeft ||
           d == TTransitionEffect::tedDown || d == TTransitionEffect::tedUp;
}

// [total / frames * frame]: the share of total covered by a frame, halves to even.
int Share(int total, int frames, int frame)
{
    return int(lumetta::RoundEven(double(total) / frames * frame));
}

}  // namespace

TWipeTransition::TWipeTransition(QObject *Owner) : TTimedTransitionEffect(Owner)
{
    AllowedDirections.reset();
    for (int d = tedRight; d <= tedOut; ++d)
        AllowedDirections.set(std::size_t(d));
    SetDirection(tedRight);
}

int TWipeTransition::BandWidth() const
{
    return IsStraight(GetDirectionToUse()) ? m_bandWidth : 0;
}

void TWipeTransition::SetBandWidth(int value)
{
    m_bandWidth = std::max(value, 0);
}

void TWipeTransition::Assign(const QObject *Source)
{
    TTimedTransitionEffect::Assign(Source);
    if (const auto *wipe = qobject_cast<const TWipeTransition *>(Source))
        m_bandWidth = wipe->BandWidth();
}

QString TWipeTransition::GetDescription() const
{
    return QStringLiteral("Wipe");
}

QString TWipeTransition::GetEditorName() const
{
    return QStringLiteral("TWipeTransitionEditor");
}

bool TWipeTransition::NeedSrcImage() const
{
    return BandWidth() > 0;
}

bool TWipeTransition::AllowSrcRendering() const
{
    return false;
}

bool TWipeTransition::NeedWorkBitmap() const
{
    return BandWidth() > 0;
}

void TWipeTransition::Initialize(TTETransitionData &Data, int &FrameCount)
{
    const int W = Data.Width;
    const int H = Data.Height;
    m_dir = GetDirectionToUse();
    m_bw = BandWidth();
    m_maskX = m_maskY = 0;
    m_band = {};
    m_onCanvas = false;

    if (m_bw == 0) {
        m_mask.Clear();
    } else {
        using lumetta::TEBandAxis;
        const TEBandAxis axis = m_dir == tedRight || m_dir == tedLeft ? TEBandAxis::Columns : TEBandAxis::Rows;
        const bool newSideFirst = m_dir == tedRight || m_dir == tedDown;
        if (!m_mask.Fits(axis, newSideFirst, lumetta::TEBandMask::SizeFor(axis, m_bw, W, H)))
            m_mask.Build(axis, newSideFirst, m_bw, W, H);
        // The band is a function of the two pictures alone, so it is composed straight onto the
        // canvas when it can be: no second copy per frame.
        m_onCanvas = CanDrawOnCanvas(Data);
        CopyRect(Target(Data), *Data.SrcBmp, QRect(0, 0, W, H));
    }
    Offscreen = !m_onCanvas;

    const int bw = m_bw;
    switch (m_dir) {
    case tedRight:
        m_frames = W + bw;
        m_uncovered = {1 - bw, 0, -bw, H};
        m_band = {m_uncovered.Right + 1, 0, m_uncovered.Right + 1 + bw, H};
        break;
    case tedLeft:
        m_frames = W + bw;
        m_uncovered = {W + bw, 0, W + bw, H};
        m_band = {m_uncovered.Left - bw - 1, 0, m_uncovered.Right - 1, H};
        break;
    case tedDown:
        m_frames = H + bw;
        m_uncovered = {0, -bw, W, -bw};
        m_band = {0, m_uncovered.Bottom + 1, W, m_uncovered.Bottom + 1 + bw};
        break;
    case tedUp:
        m_frames = H + bw;
        m_uncovered = {0, H + bw, W, H + bw};
        m_band = {0, m_uncovered.Top - bw - 1, W, m_uncovered.Bottom - 1};
        break;
    case tedDownRight:
        m_frames = W + H;
        m_uncovered = {0, 0, 0, 0};
        break;
    case tedDownLeft:
        m_frames = std::max(W, H);
        m_uncovered = {W, 0, W, 0};
        break;
    case tedUpRight:
        m_frames = std::max(W, H);
        m_uncovered = {0, H, 0, H};
        break;
    case tedUpLeft:
        m_frames = std::max(W, H);
        m_uncovered = {W, H, W, H};
        break;
    case tedIn:
        m_frames = std::max(W, H) / 2;
        m_uncovered = {0, 0, W, H};
        break;
    case tedOut:
    default:
        m_frames = std::max(W, H) / 2;
        m_uncovered = {W / 2, H / 2, W / 2, H / 2};
        break;
    }
    FrameCount = m_frames;
}

void TWipeTransition::DrawFrame(TTETransitionData &Data, int CurrentFrame, int Step, int FrameCount,
                                int PrevFrame)
{
    TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    if (IsStraight(m_dir))
        DrawStraight(Data, Step);
    else if (m_dir == tedIn || m_dir == tedOut)
        DrawInOut(Data, CurrentFrame);
    else
        DrawCorner(Data, CurrentFrame);
}

void TWipeTransition::DrawStraight(TTETransitionData &Data, int Step)
{
    TERect &u = m_uncovered;
    const bool band = m_bw > 0;
    switch (m_dir) {
    case tedRight:
        u.Left = u.Right;
        u.Right += Step;
        if (band) {
            m_band.Left = u.Right + 1;
            m_band.Right = m_band.Left + m_bw;
            m_maskY = lumetta::Random(lumetta::BandMaskSlack);
        }
        break;
    case tedLeft:
        u.Right = u.Left;
        u.Left -= Step;
        if (band) {
            m_band.Right = u.Left - 1;
            m_band.Left = m_band.Right - m_bw;
            m_maskY = lumetta::Random(lumetta::BandMaskSlack);
        }
        break;
    case tedDown:
        u.Top = u.Bottom;
        u.Bottom += Step;
        if (band) {
            m_band.Top = u.Bottom + 1;
            m_band.Bottom = m_band.Top + m_bw;
            m_maskX = lumetta::Random(lumetta::BandMaskSlack);
        }
        break;
    default:
        u.Bottom = u.Top;
        u.Top -= Step;
        if (band) {
            m_band.Bottom = u.Top - 1;
            m_band.Top = m_band.Bottom - m_bw;
            m_maskX = lumetta::Random(lumetta::BandMaskSlack);
        }
        break;
    }

    if (!band) {
        CopyNew(Data, u);
        return;
    }
    // The strip takes its right column and bottom row too, closing the seam to the band.
    const TERect strip{u.Left, u.Top, u.Right + 1, u.Bottom + 1};
    m_mask.Compose(*Data.SrcBmp, *Data.DstBmp, Target(Data), m_band, m_maskX, m_maskY, strip);
    AddUpdate(Data, m_band);
    AddUpdate(Data, strip);
}

void TWipeTransition::DrawCorner(TTETransitionData &Data, int CurrentFrame)
{
    const int W = Data.Width;
    const int H = Data.Height;
    TERect &u = m_uncovered;
    const int x = Share(W, m_frames, CurrentFrame);
    const int y = Share(H, m_frames, CurrentFrame);
    const int xr = W - x;  // from the right edge
    const int yb = H - y;  // from the bottom edge
    // What was uncovered before already shows the new picture: the strips form an L around it.
    SetUnchanged(Data, u);
    switch (m_dir) {
    case tedDownRight:
        CopyNew(Data, {0, u.Bottom, x, y});
        CopyNew(Data, {u.Right, 0, x, u.Bottom});
        u.Right = x;
        u.Bottom = y;
        break;
    case tedDownLeft:
        CopyNew(Data, {xr, u.Bottom, W, y});
        CopyNew(Data, {xr, 0, u.Left, u.Bottom});
        u.Left = xr;
        u.Bottom = y;
        break;
    case tedUpRight:
        CopyNew(Data, {0, yb, x, u.Top});
        CopyNew(Data, {u.Right, u.Top, x, H});
        u.Right = x;
        u.Top = yb;
        break;
    default:
        CopyNew(Data, {xr, yb, W, u.Top});
        CopyNew(Data, {xr, u.Top, u.Left, H});
        u.Left = xr;
        u.Top = yb;
        break;
    }
}

void TWipeTransition::DrawInOut(TTETransitionData &Data, int CurrentFrame)
{
    const int W = Data.Width;
    const int H = Data.Height;
    const TERect r = m_uncovered;
    int dx, dy;
    // The strips form a frame around a part that does not change: the rectangle still showing
    // the old picture when closing in, the one already showing the new picture when opening out.
    if (m_dir == tedIn) {
        dx = Share(W, m_frames, CurrentFrame) / 2;
        dy = Share(H, m_frames, CurrentFrame) / 2;
        CopyNew(Data, {r.Left, r.Top, r.Right, dy});
        CopyNew(Data, {r.Left, dy, dx, H - dy});
        CopyNew(Data, {W - dx, dy, r.Right, H - dy});
        CopyNew(Data, {r.Left, H - dy, r.Right, r.Bottom});
        SetUnchanged(Data, {dx, dy, W - dx, H - dy});
    } else {
        dx = (W - Share(W, m_frames, CurrentFrame)) / 2;
        dy = (H - Share(H, m_frames, CurrentFrame)) / 2;
        CopyNew(Data, {dx, dy, W - dx, r.Top});
        CopyNew(Data, {dx, r.Top, r.Left, H - dy});
        CopyNew(Data, {r.Right, r.Top, W - dx, r.Bottom});
        CopyNew(Data, {dx, r.Bottom, W - dx, H - dy});
        SetUnchanged(Data, r);
    }
    m_uncovered = {dx, dy, W - dx, H - dy};
}

QImage &TWipeTransition::Target(TTETransitionData &Data) const
{
    return m_onCanvas ? *Data.Canvas : *Data.GetCanvas();
}

void TWipeTransition::CopyNew(TTETransitionData &Data, const TERect &r)
{
    CopyRect(*Data.GetCanvas(), *Data.DstBmp, r.ToQRect());
    AddUpdate(Data, r);
}

void TWipeTransition::SetUnchanged(TTETransitionData &Data, const TERect &r)
{
    const TERect clipped = lumetta::Intersect(r, {0, 0, Data.Width, Data.Height});
    UnchangedRect = clipped.IsEmpty() ? QRect() : clipped.ToQRect();
}

void TWipeTransition::AddUpdate(TTETransitionData &Data, const TERect &r)
{
    const TERect clipped = lumetta::Intersect(r, {0, 0, Data.Width, Data.Height});
    if (!clipped.IsEmpty())
        UpdateRect = UpdateRect.isNull() ? clipped.ToQRect() : UpdateRect.united(clipped.ToQRect());
}
