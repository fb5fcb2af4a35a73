// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Off-screen pictures of widgets that do not depend on what the screen shows: a widget and its
// visible children painted bottom to top, each clipped to its bounds, render windows left out.
//
// Render windows: a widget is never rendered (nor anything inside it) when it is the engine's
// RenderWindow, when its class or one of its ancestors is named "TTERenderWindow", or when it
// carries the dynamic property "lumettaRenderWindow" set to true.
//
// Markers: rendering a widget records what it needs after the run in its dynamic int properties
// "HelpContext" (when 0) or else "Tag"; RefreshControl reads and clears them.

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>
#include <cstdint>

class QPainter;
class QWidget;

namespace lumetta {

// Flag bits of a registered control class.
enum RenderFlag : std::uint16_t {
    teFrame = 0x0001,  // paint the frame (non-client area)
    teFramePrint = 0x0002,  // frame by the widget's own painting
    teFrameNcPaint = 0x0004,  // frame by a non-client paint
    teFrameEngine = 0x0008,  // frame drawn by the engine
    teFrameCallback = 0x0400,  // frame by NonClientPaint
    teRepaintFrameAfter = 0x0010,  // after the run, repaint the frame
    teClient = 0x0020,  // paint the client area
    teClientPrint = 0x0040,  // client by the widget's own painting with its background
    teClientEraseAndPaint = 0x0080,  // client by erasing, then painting
    teClientView = 0x0100,  // client by the view of embedded foreign content
    teClientCallback = 0x0800,  // client by ClientPaint
    teRedrawAfter = 0x0200,  // after the run, redraw the widget with all its children
};

// Paints part of a control; the painter is in the control's coordinates and already clipped.
using ControlPaintFn = void (*)(QWidget *control, QPainter &painter);

struct RegisteredControl
{
    std::uint16_t flags = 0;
    ControlPaintFn nonClientPaint = nullptr;
    ControlPaintFn clientPaint = nullptr;
};

// Adds or replaces (class names compared without regard to case) the record of a widget class.
// frameKind: 1 non-client paint, 2 own painting, 3 engine-drawn, 4 NonClientPaint, -1 none,
// other: detected. clientKind: 1 erase and paint, 2 own painting, 3 view, 4 ClientPaint,
// -1 none, other: detected.
void RegisterControl(const QString &className, int frameKind, int clientKind, ControlPaintFn clientPaint = nullptr,
                     ControlPaintFn nonClientPaint = nullptr, bool redrawAfter = false, bool repaintFrameAfter = false);

// The record registered under className (any letter case), or nullptr.
const RegisteredControl *FindRegisteredControl(const QString &className);

// The record of the nearest registered class in control's ancestry, its flags completed by
// Detect; a class with no registered ancestor gets the detected flags of 0021.
RegisteredControl LookupControl(const QWidget *control);

// Completes the frame and client methods that flags leave open.
std::uint16_t DetectControlFlags(std::uint16_t flags);

// True for the engine's render window (see the top of this file).
bool IsRenderWindow(const QWidget *widget);

// Offset of the client area within the window: non-zero only for a top-level window with a frame.
QPoint ClientOffset(const QWidget *widget);

// Renders control clipped to rect (control coordinates in logical pixels; client coordinates
// when clientFlag is set, else window coordinates including a top-level frame). The result is in
// device pixels (rect scaled by the control's devicePixelRatio, image ratio 1), converted to
// format; Format_Indexed8 maps each pixel to the nearest colour of colorTable without dithering.
// Parts of rect outside the control are black. A null control gives a null image.
QImage RenderControl(QWidget *control, const QRect &rect, bool clientFlag, QImage::Format format,
                     const QList<QRgb> &colorTable = {});

// After a run: repaints the widgets of control's tree whose markers (or registry flags) ask for it.
void RefreshControl(QWidget *control);

}  // namespace lumetta
