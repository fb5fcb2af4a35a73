// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/control_rendering.h"

#include "transitions/engine/bitmap.h"
#include "transitions/engine/render_window.h"

#include <QHash>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace lumetta {

namespace {

constexpr std::uint16_t kFrameMethods = teFramePrint | teFrameNcPaint | teFrameEngine | teFrameCallback;
constexpr std::uint16_t kClientMethods = teClientPrint | teClientEraseAndPaint | teClientView | teClientCallback;

const char kHelpContext[] = "HelpContext";
const char kTag[] = "Tag";

// A rich edit paints its text through its viewport child, so the paint-then-print painter is
// the widget's own painting; the text follows with the children.
void PaintThenPrint(QWidget *control, QPainter &painter)
{
    control->render(&painter, QPoint(), QRegion(), {});
}

using Registry = QHash<QString, RegisteredControl>;

void Register(Registry &registry, const QString &className, int frameKind, int clientKind, ControlPaintFn clientPaint,
              ControlPaintFn nonClientPaint, bool redrawAfter, bool repaintFrameAfter)
{
    std::uint16_t flags = 0;
    switch (frameKind) {
    case 1:
        flags |= teFrame | teFrameNcPaint;
        break;
    case 2:
        flags |= teFrame | teFramePrint;
        break;
    case 3:
        flags |= teFrame | teFrameEngine;
        break;
    case 4:
        flags |= teFrame | teFrameCallback;
        break;
    case -1:
        break;
    default:
        flags |= teFrame;
        break;
    }
    switch (clientKind) {
    case 1:
        flags |= teClient | teClientEraseAndPaint;
        break;
    case 2:
        flags |= teClient | teClientPrint;
        break;
    case 3:
        flags |= teClient | teClientView;
        break;
    case 4:
        flags |= teClient | teClientCallback;
        break;
    case -1:
        break;
    default:
        flags |= teClient;
        break;
    }
    if (repaintFrameAfter)
        flags |= teRepaintFrameAfter;
    if (redrawAfter)
        flags |= teRedrawAfter;
    registry.insert(className.toLower(), RegisteredControl{flags, nonClientPaint, clientPaint});
}

// The Qt classes that play the roles of the six classes the engine knows how to paint.
Registry &TheRegistry()
{
    static Registry registry = [] {
        Registry r;
        Register(r, QStringLiteral("QTextEdit"), 2, 4, &PaintThenPrint, nullptr, false, false);
        Register(r, QStringLiteral("QListWidget"), 2, 2, nullptr, nullptr, false, false);
        Register(r, QStringLiteral("QLabel"), 2, 2, nullptr, nullptr, false, false);
        Register(r, QStringLiteral("QWindowContainer"), -1, 3, nullptr, nullptr, true, true);
        Register(r, QStringLiteral("QToolBar"), 3, 1, nullptr, nullptr, false, false);
        Register(r, QStringLiteral("QAbstractScrollArea"), 3, 1, nullptr, nullptr, false, false);
        return r;
    }();
    return registry;
}

void StoreMarker(QWidget *widget, std::uint16_t flags)
{
    const int helpContext = widget->property(kHelpContext).toInt();
    const int tag = widget->property(kTag).toInt();
    if (helpContext != 0 && tag != 0)
        return;
    const bool frame = flags & teRepaintFrameAfter;
    const bool redraw = flags & teRedrawAfter;
    const int b = frame && redraw ? 4 : redraw ? 3 : frame ? 2 : 1;
    widget->setProperty(helpContext == 0 ? kHelpContext : kTag, -b);
}

int TakeMarker(QWidget *widget)
{
    for (const char *name : {kHelpContext, kTag}) {
        const int value = widget->property(name).toInt();
        if (value >= -16 && value <= -1) {
            widget->setProperty(name, 0);
            return value;
        }
    }
    return 0;
}

// Foreign content (an embedded native window) cannot paint through Qt: take what the screen shows.
void PaintView(QWidget *widget, QPainter &painter)
{
    QWidget *window = widget->window();
    const QPoint at = widget->mapTo(window, QPoint());
    const QPixmap shot =
        widget->screen()->grabWindow(window->winId(), at.x(), at.y(), widget->width(), widget->height());
    painter.drawPixmap(widget->rect(), shot);
}

// A top-level widget that was never shown counts as hidden to Qt; only an explicit hide counts here.
bool IsHidden(const QWidget *widget)
{
    return widget->isHidden() && (!widget->isWindow() || widget->testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void PaintClient(QPainter &painter, QWidget *widget, const RegisteredControl &record, const QRegion &area)
{
    painter.save();
    painter.setClipRegion(area, Qt::IntersectClip);
    if ((record.flags & teClientCallback) && record.clientPaint)
        record.clientPaint(widget, painter);
    else if (record.flags & teClientView)
        PaintView(widget, painter);
    else if (record.flags & (teClientPrint | teClientEraseAndPaint))
        widget->render(&painter, area.boundingRect().topLeft(), area, {});  // the region's corner lands at the offset
    painter.restore();
}

// Paints widget (origin at its client top-left) within clip (its client coordinates).
void RenderWidgetTree(QPainter &painter, QWidget *widget, const QRegion &clip, bool root)
{
    if (IsRenderWindow(widget) || IsHidden(widget))
        return;
    const RegisteredControl record = LookupControl(widget);
    StoreMarker(widget, record.flags);

    const QPoint offset = ClientOffset(widget);
    QRegion window = clip & QRect(-offset, widget->isWindow() ? widget->frameGeometry().size() : widget->size());
    if (!widget->mask().isEmpty())
        window &= widget->mask();
    const QRegion client = window & widget->rect();
    if (window.isEmpty())
        return;

    // The root is erased with its window brush as the screen would show it over its parent.
    if (root && !widget->testAttribute(Qt::WA_OpaquePaintEvent) && !widget->testAttribute(Qt::WA_NoSystemBackground)) {
        painter.save();
        painter.setClipRegion(client, Qt::IntersectClip);
        painter.fillRect(widget->rect(), widget->palette().brush(QPalette::Window));
        painter.restore();
    }
    if (!client.isEmpty() && (record.flags & teClient))
        PaintClient(painter, widget, record, client);

    if (!(record.flags & teClientView) && !client.isEmpty()) {
        for (QObject *object : widget->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (!child || child->isWindow() || child->isHidden() || child->geometry().isEmpty())
                continue;
            const QRegion childClip = client.translated(-child->pos()) & child->rect();
            if (childClip.isEmpty())
                continue;
            painter.save();
            painter.translate(child->pos());
            RenderWidgetTree(painter, child, childClip, false);
            painter.restore();
        }
    }

    const QRegion frame = window - widget->rect();
    if (!frame.isEmpty() && (record.flags & teFrame) && (record.flags & teFrameCallback) && record.nonClientPaint) {
        painter.save();
        painter.setClipRegion(frame, Qt::IntersectClip);
        record.nonClientPaint(widget, painter);
        painter.restore();
    }
}

QSize DeviceSize(const QSize &size, qreal ratio)
{
    return QSize(qRound(size.width() * ratio), qRound(size.height() * ratio));
}

}  // namespace

void RegisterControl(const QString &className, int frameKind, int clientKind, ControlPaintFn clientPaint,
                     ControlPaintFn nonClientPaint, bool redrawAfter, bool repaintFrameAfter)
{
    Register(TheRegistry(), className, frameKind, clientKind, clientPaint, nonClientPaint, redrawAfter,
             repaintFrameAfter);
}

const RegisteredControl *FindRegisteredControl(const QString &className)
{
    const Registry &registry = TheRegistry();
    const auto it = registry.constFind(className.toLower());
    return it == registry.constEnd() ? nullptr : &*it;
}

std::uint16_t DetectControlFlags(std::uint16_t flags)
{
    // Every widget paints itself into any device, and none has a frame of its own outside its
    // rectangle, so the open methods are always the widget's own painting.
    if ((flags & teClient) && !(flags & kClientMethods))
        flags |= teClientPrint;
    if ((flags & teFrame) && !(flags & kFrameMethods))
        flags |= teFramePrint;
    return flags;
}

RegisteredControl LookupControl(const QWidget *control)
{
    for (const QMetaObject *meta = control->metaObject(); meta && meta != &QObject::staticMetaObject;
         meta = meta->superClass()) {
        if (const RegisteredControl *record = FindRegisteredControl(QString::fromLatin1(meta->className()))) {
            RegisteredControl result = *record;
            result.flags = DetectControlFlags(result.flags);
            return result;
        }
    }
    return RegisteredControl{DetectControlFlags(teFrame | teClient), nullptr, nullptr};
}

bool IsRenderWindow(const QWidget *widget)
{
    return qobject_cast<const RenderWindow *>(widget) || widget->inherits("TTERenderWindow")
           || widget->property("lumettaRenderWindow").toBool();
}

QPoint ClientOffset(const QWidget *widget)
{
    if (!widget->isWindow())
        return QPoint();
    return widget->geometry().topLeft() - widget->frameGeometry().topLeft();
}

QImage RenderControl(QWidget *control, const QRect &rect, bool clientFlag, QImage::Format format,
                     const QList<QRgb> &colorTable)
{
    if (!control || rect.isEmpty())
        return QImage();
    const qreal ratio = control->devicePixelRatioF();
    // Frame memory, black: a run takes the picture as its new one without another copy.
    const QSize size = DeviceSize(rect.size(), ratio);
    QImage image = NewBitmap(size.width(), size.height(), pf32bit);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(ratio);
    {
        const QPoint origin = clientFlag ? rect.topLeft() : rect.topLeft() - ClientOffset(control);
        QPainter painter(&image);
        painter.translate(-origin);
        RenderWidgetTree(painter, control, QRegion(QRect(origin, rect.size())), true);
    }
    image.setDevicePixelRatio(1.0);
    if (format == QImage::Format_RGB32)
        return image;
    // The system palette goes through the engine's own nearest-colour mapping, the one screen
    // copies take, so an old and a new picture meet in the same palette colours.
    if (format == QImage::Format_Indexed8 && colorTable == SystemPalette())
        return ConvertToPixelFormat(image, pf8bit);
    if (format == QImage::Format_Indexed8 && !colorTable.isEmpty())
        return image.convertToFormat(format, colorTable, Qt::ThresholdDither | Qt::AvoidDither);
    return image.convertToFormat(format, Qt::ThresholdDither | Qt::AvoidDither);
}

void RefreshControl(QWidget *control)
{
    if (!control || IsHidden(control))
        return;
    const int marker = TakeMarker(control);
    bool repaintFrame;
    bool redraw;
    if (marker != 0) {
        repaintFrame = marker == -4 || marker == -2;
        redraw = marker == -4 || marker == -3;
    } else {
        const std::uint16_t flags = LookupControl(control).flags;
        repaintFrame = flags & teRepaintFrameAfter;
        redraw = flags & teRedrawAfter;
    }
    if (repaintFrame)
        control->update();
    if (redraw) {
        control->repaint();
        return;
    }
    for (QObject *object : control->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow())
            RefreshControl(child);
    }
}

}  // namespace lumetta
