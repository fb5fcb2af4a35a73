#pragma once

#include <QImage>
#include <QRect>

// Raw-row helpers the effects share: a half-open rectangle, pixel sizes, and the switch that
// makes every kernel take its plain reference path.
namespace lumetta {

// Rectangle with exclusive right and bottom, as the effects compute their strips.
struct HalfOpenRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    int Width() const { return Right - Left; }
    // An empty rectangle becomes a null QRect.
    QRect ToQRect() const;
};

HalfOpenRect Intersect(const HalfOpenRect &a, const HalfOpenRect &b);

// Smallest rectangle holding both; an empty operand is ignored.
HalfOpenRect Union(const HalfOpenRect &a, const HalfOpenRect &b);

// Storage bytes of one pixel of image (1 for Indexed8, 2, 3 or 4).
int BytesPerPixel(const QImage &image);

// While set, kernels use their plain reference versions (tests, debugging). Starts set when the
// environment variable LUMETTA_REFERENCE_KERNELS is 1.
bool ReferenceKernels();
void SetReferenceKernels(bool on);

}  // namespace lumetta
