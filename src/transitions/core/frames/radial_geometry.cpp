// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/frames/radial_geometry.h"

#include <array>

namespace lumetta {
namespace {

// A clock hand: it passes positions start, start + 1, ... (clockwise) or start, start - 1,
// ... (anticlockwise); a mirror runs the same sweep from its far end.
struct Hand
{
    Point pivot;
    int start = 1;
    bool clockwise = true;
    bool mirror = false;
};

// The wedge of a hand at frame `frame` covering `count` positions, in a style of N frames.
RadialWedge HandWedge(const RadialGeometry &g, const Hand &hand, int frame, int count, int n)
{
    if (hand.mirror)
        frame = n + count - frame;
    const int end = hand.clockwise ? hand.start + frame - 1 : hand.start + count - frame;
    return {hand.pivot, g.Wrap(end), count};
}

enum class Pivot { L, R, T, B, KTL, KTR, KBL, KBR };

Hand PivotHand(const RadialGeometry &g, Pivot pivot, bool mirror)
{
    switch (pivot) {
    case Pivot::L:
        return {{-1, g.h / 2}, g.tl, true, mirror};
    case Pivot::R:
        return {{g.w, g.h / 2}, g.br, true, mirror};
    case Pivot::T:
        return {{g.w / 2, -1}, g.tr, true, mirror};
    case Pivot::B:
        return {{g.w / 2, g.h}, g.bl, true, mirror};
    case Pivot::KTL:
        return {{-1, -1}, g.tr, true, mirror};
    case Pivot::KTR:
        return {{g.w, -1}, g.br, true, mirror};
    case Pivot::KBL:
        return {{-1, g.h}, g.tl, true, mirror};
    case Pivot::KBR:
        return {{g.w, g.h}, g.bl, true, mirror};
    }
    return {};
}

struct SingleHand
{
    Pivot pivot;
    bool mirror;
};

// Sub-styles 1..8 of style 4 (edge pivots) and style 6 (corner pivots).
constexpr SingleHand kEdgeHands[8] = {{Pivot::L, false}, {Pivot::L, true},  {Pivot::R, true},  {Pivot::R, false},
                                      {Pivot::T, true},  {Pivot::T, false}, {Pivot::B, false}, {Pivot::B, true}};
constexpr SingleHand kCornerHands[8] = {{Pivot::KTL, false}, {Pivot::KTL, true},  {Pivot::KTR, true},
                                        {Pivot::KTR, false}, {Pivot::KBL, false}, {Pivot::KBL, true},
                                        {Pivot::KBR, false}, {Pivot::KBR, true}};

int CornersOf(Pivot pivot)
{
    using C = RadialGeometry;
    switch (pivot) {
    case Pivot::L:
        return C::TopRight | C::BottomRight;
    case Pivot::R:
        return C::TopLeft | C::BottomLeft;
    case Pivot::T:
        return C::BottomRight | C::BottomLeft;
    case Pivot::B:
        return C::TopLeft | C::TopRight;
    case Pivot::KTL:
        return C::BottomRight;
    case Pivot::KTR:
        return C::BottomLeft;
    case Pivot::KBL:
        return C::TopRight;
    case Pivot::KBR:
        return C::TopLeft;
    }
    return 0;
}

// Two hands at half speed: the odd frames move one, the even frames the other; each is called
// with its half-frame and the positions it covers.
template <class One, class Two>
void ShareFrames(int frame, int step, const One &one, const Two &two)
{
    const int first = frame - step + 1;
    const int half = step / 2;
    if (first % 2 != 0) {
        one((frame + 1) / 2, step - half);
        if (step > 1)
            two(frame / 2, half);
    } else {
        two(frame / 2, step - half);
        if (step > 1)
            one((frame + 1) / 2, half);
    }
}

struct CentreStarts
{
    int q12, q3, q6, q9;
};

CentreStarts CentreStartsOf(const RadialGeometry &g)
{
    return {g.w / 2 + 2, g.w + g.h / 2 + 3, g.w + g.h + (g.w - 1) / 2 + 4, 2 * g.w + g.h + (g.h - 1) / 2 + 5};
}

}  // namespace

int RadialGeometry::Wrap(int p) const
{
    return ((p - 1) % total + total) % total + 1;
}

Point RadialGeometry::PointAt(int p) const
{
    p = Wrap(p);
    if (p < tr)
        return {p - 2, -1};
    if (p < br)
        return {w, p - w - 3};
    if (p < bl)
        return {2 * w + h + 3 - p, h};
    return {-1, 2 * w + 2 * h + 4 - p};
}

RadialGeometry MakeRadialGeometry(int width, int height)
{
    RadialGeometry g;
    g.w = width % 2 == 0 ? width + 1 : width;
    g.h = height % 2 == 0 ? height + 1 : height;
    g.total = 2 * (g.w + g.h + 2);
    g.centre = {g.w / 2, g.h / 2};
    g.tl = 1;
    g.tr = g.w + 2;
    g.br = g.w + g.h + 3;
    g.bl = 2 * g.w + g.h + 4;
    return g;
}

int RadialFrameCount(const RadialGeometry &g, int style, int subStyle)
{
    switch (style) {
    case 1:
    case 2:
        return g.total;
    case 3:
        return g.total / 4;
    case 4:
        if (subStyle >= 1 && subStyle <= 4)
            return g.total - g.h;
        return subStyle >= 5 && subStyle <= 8 ? g.total - g.w : 0;
    case 5:
        if (subStyle >= 1 && subStyle <= 8)
            return g.total - g.h;
        return subStyle >= 9 && subStyle <= 16 ? g.total - g.w : 0;
    case 6:
    case 7:
        return g.total / 2 + 1;
    default:
        return 0;
    }
}

int RadialActiveCorners(int style, int subStyle)
{
    constexpr int kAll =
        RadialGeometry::TopLeft | RadialGeometry::TopRight | RadialGeometry::BottomRight | RadialGeometry::BottomLeft;
    switch (style) {
    case 4:
        return subStyle >= 1 && subStyle <= 8 ? CornersOf(kEdgeHands[subStyle - 1].pivot) : kAll;
    case 6:
        return subStyle >= 1 && subStyle <= 8 ? CornersOf(kCornerHands[subStyle - 1].pivot) : kAll;
    case 5:
        return subStyle >= 1 && subStyle <= 16 ? CornersOf(kEdgeHands[(subStyle - 1) / 4 * 2].pivot) : kAll;
    case 7:
        return subStyle >= 1 && subStyle <= 16 ? CornersOf(kCornerHands[(subStyle - 1) / 4 * 2].pivot) : kAll;
    default:
        return kAll;
    }
}

int RadialSubStyleCount(int style)
{
    switch (style) {
    case 0:
        return 0;
    case 1:
    case 2:
    case 3:
    case 4:
    case 6:
        return 8;
    case 5:
    case 7:
        return 16;
    default:
        return 1;
    }
}

int RadialReversedSubStyle(int style, int subStyle)
{
    const int limit = (style == 5 || style == 7) ? 16 : 8;
    if (subStyle < 1 || subStyle > limit)
        return subStyle;
    return subStyle % 2 != 0 ? subStyle + 1 : subStyle - 1;
}

void RadialWedges(const RadialGeometry &g, int style, int subStyle, int frame, int step, int frameCount,
                  std::vector<RadialWedge> &wedges)
{
    wedges.clear();
    const int n = frameCount;
    const CentreStarts q = CentreStartsOf(g);
    auto centreHand = [&](int start, bool clockwise) { return Hand{g.centre, start, clockwise}; };
    auto add = [&](const Hand &hand, int f, int count) {
        if (count > 0)
            wedges.push_back(HandWedge(g, hand, f, count, n));
    };
    auto atHalf = [&](const Hand &hand, int offset = 0) {
        return [&, hand, offset](int half, int count) { add(hand, half + offset, count); };
    };
    // Even sub-styles of styles 2, 3 and 5 replay the odd one before them at another frame.
    const bool replay = subStyle % 2 == 0;
    const int odd = replay ? subStyle - 1 : subStyle;

    switch (style) {
    case 1: {
        const int starts[4] = {q.q12, q.q3, q.q6, q.q9};
        if (subStyle >= 1 && subStyle <= 8)
            add(centreHand(starts[(subStyle - 1) / 2], subStyle % 2 != 0), frame, step);
        break;
    }
    case 2: {
        const int f = replay ? g.total + step - frame + 2 : frame;
        Hand one, two;
        switch (odd) {
        case 1:
            one = centreHand(q.q12, true), two = centreHand(q.q6, true);
            break;
        case 3:
            one = centreHand(q.q3, true), two = centreHand(q.q9, true);
            break;
        case 5:
            one = centreHand(q.q12, true), two = centreHand(q.q12, false);
            break;
        case 7:
            one = centreHand(q.q3, true), two = centreHand(q.q3, false);
            break;
        default:
            return;
        }
        ShareFrames(f, step, atHalf(one), atHalf(two));
        break;
    }
    case 3: {
        const int f = replay ? n + step - frame + 1 : frame;
        std::array<Hand, 4> hands;
        switch (odd) {
        case 1:
            hands = {centreHand(q.q12, true), centreHand(q.q3, true), centreHand(q.q6, true), centreHand(q.q9, true)};
            break;
        case 3:
            hands = {centreHand(q.q12, true), centreHand(q.q12, false), centreHand(q.q6, true),
                     centreHand(q.q6, false)};
            break;
        case 5:
            hands = {centreHand(q.q12, true), centreHand(q.q6, false), centreHand(q.q9, true), centreHand(q.q9, false)};
            break;
        case 7:
            hands = {centreHand(q.q12, true), centreHand(q.q12, false), centreHand(q.q3, true),
                     centreHand(q.q9, false)};
            break;
        default:
            return;
        }
        for (const Hand &hand : hands)
            add(hand, f, step);
        break;
    }
    case 4:
    case 6: {
        if (subStyle < 1 || subStyle > 8)
            break;
        const SingleHand &s = (style == 4 ? kEdgeHands : kCornerHands)[subStyle - 1];
        add(PivotHand(g, s.pivot, s.mirror), frame, step);
        break;
    }
    case 5:
    case 7: {
        if (subStyle < 1 || subStyle > 16)
            break;
        const int j = (subStyle - 1) / 4;
        const int kind = (subStyle - 1) % 4;
        const SingleHand *table = style == 5 ? kEdgeHands : kCornerHands;
        const Hand a = PivotHand(g, table[2 * j].pivot, table[2 * j].mirror);
        const Hand b = PivotHand(g, table[2 * j + 1].pivot, table[2 * j + 1].mirror);
        const int f = kind % 2 != 0 ? n + step - frame : frame;
        int offset = n / 2;
        if (style == 5)
            offset = j < 2 ? g.w + g.h / 2 + 2 : g.h + g.w / 2 + 2;
        if (kind < 2)
            ShareFrames(f, step, atHalf(a), atHalf(a, offset));
        else
            ShareFrames(f, step, atHalf(a), atHalf(b));
        break;
    }
    default:
        break;
    }
}

int RadialWedgeVertices(const RadialGeometry &g, const RadialWedge &wedge, Point (&vertices)[kRadialMaxWedgeVertices])
{
    const int end = g.Wrap(wedge.end);
    int count = 0;
    vertices[count++] = wedge.pivot;
    if (wedge.count <= 1) {
        vertices[count++] = g.PointAt(end);
        return count;
    }
    const int start = g.Wrap(end - wedge.count + 1);
    vertices[count++] = g.PointAt(start);
    const struct
    {
        int position;
        int flag;
    } corners[4] = {{g.tl, RadialGeometry::TopLeft},
                    {g.tr, RadialGeometry::TopRight},
                    {g.br, RadialGeometry::BottomRight},
                    {g.bl, RadialGeometry::BottomLeft}};
    auto addBetween = [&](int from, int to) {  // corners with from < position < to
        for (const auto &c : corners)
            if ((g.activeCorners & c.flag) && c.position > from && c.position < to)
                vertices[count++] = g.PointAt(c.position);
    };
    if (end >= start) {
        addBetween(start, end);
    } else {
        addBetween(start, g.total + 1);
        addBetween(0, end);
    }
    vertices[count++] = g.PointAt(end);
    return count;
}

}  // namespace lumetta
