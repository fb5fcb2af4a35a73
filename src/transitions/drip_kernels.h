#pragma once

#include "transitions/row_kernels.h"

#include <QImage>

// The drip's smearing: one line of the new picture repeated over the unsettled area.
namespace lumetta {

// Writes the pixel at pixel (bytesPerPixel bytes) into width pixels of dst. The plain reference.
void FillRow_C(uchar *dst, const uchar *pixel, int width, int bytesPerPixel);
// Same result, written word-wise.
void FillRow_Fast(uchar *dst, const uchar *pixel, int width, int bytesPerPixel);

// Stretches column srcX of src over rectangle r of dst: every pixel of row y in r takes src's
// pixel (srcX, y). Rows outside either image are skipped.
void SmearColumn(const QImage &src, int srcX, QImage &dst, const HalfOpenRect &r);

// Copies row srcY of src, whole, into rows top..bottom-1 of dst (clipped to dst).
void SmearRow(const QImage &src, int srcY, QImage &dst, int top, int bottom);

}  // namespace lumetta
