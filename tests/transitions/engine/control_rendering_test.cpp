// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/control_rendering.h"

#include "transitions/transitions.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeView>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

using namespace lumetta;

namespace {

class CallbackPanel : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

class DerivedCallbackPanel : public CallbackPanel
{
    Q_OBJECT
public:
    using CallbackPanel::CallbackPanel;
};

class RedrawPanel : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

QWidget *ColouredChild(QWidget *parent, QWidget *child, const QRect &geometry, const QColor &colour)
{
    child->setParent(parent);
    child->setGeometry(geometry);
    QPalette palette = child->palette();
    palette.setColor(QPalette::Window, colour);
    child->setPalette(palette);
    child->setAutoFillBackground(true);
    return child;
}

// A panel whose children overlap each other and its edges, with a hidden and a masked child.
std::unique_ptr<QWidget> MakePanel()
{
    auto panel = std::make_unique<QWidget>();
    panel->resize(220, 160);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(200, 40, 40));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);

    ColouredChild(panel.get(), new QLabel(QStringLiteral("under")), QRect(10, 10, 100, 60), QColor(20, 180, 20));
    auto *frame = new QFrame;
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(3);
    ColouredChild(panel.get(), frame, QRect(60, 40, 100, 60), QColor(30, 30, 220));
    auto *list = new QListWidget(panel.get());
    list->addItems({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    list->setGeometry(20, 90, 110, 55);
    auto *text = new QTextBrowser(panel.get());
    text->setPlainText(QStringLiteral("Rich text that runs over the panel's right edge."));
    text->setGeometry(140, 20, 120, 60);
    new QPushButton(QStringLiteral("Beyond"), panel.get());
    panel->findChild<QPushButton *>()->setGeometry(160, 120, 90, 50);
    QWidget *hidden = ColouredChild(panel.get(), new QWidget, QRect(0, 0, 60, 60), QColor(250, 250, 0));
    hidden->hide();
    QWidget *masked = ColouredChild(panel.get(), new QWidget, QRect(100, 100, 40, 40), QColor(0, 200, 200));
    masked->setMask(QRegion(QRect(0, 0, 40, 40), QRegion::Ellipse));
    return panel;
}

QImage Grab(QWidget *widget, const QRect &rect)
{
    return widget->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
}

void ExpectSameImage(const QImage &expected, const QImage &actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(expected.pixel(x, y), actual.pixel(x, y)) << "at " << x << "," << y;
}

TEST(RenderControl, MatchesGrabAndLeavesOutRenderWindows)
{
    enum Setup { NeverShown, Shown, InsideAWindow };
    for (const Setup setup : {NeverShown, Shown, InsideAWindow}) {
        SCOPED_TRACE(setup);
        std::unique_ptr<QWidget> owned = MakePanel();
        QWidget *panel = owned.get();
        QWidget host;
        if (setup == InsideAWindow) {
            host.resize(300, 220);
            panel = owned.release();
            panel->setParent(&host);
            panel->move(30, 20);
            panel->setAutoFillBackground(false);
            host.show();
        } else if (setup == Shown) {
            panel->show();
        }
        for (const QRect &rect : {QRect(0, 0, 220, 160), QRect(35, 25, 120, 101), QRect(1, 59, 219, 3)}) {
            const QImage expected = Grab(panel, rect);
            auto *byClass = new RenderWindow(panel);
            byClass->setGeometry(5, 5, 90, 90);
            QImage canvas(200, 200, QImage::Format_RGB32);
            canvas.fill(Qt::magenta);
            byClass->SetCanvasImage(canvas);
            auto *byProperty = ColouredChild(panel, new QWidget, QRect(120, 60, 90, 90), Qt::magenta);
            byProperty->setProperty("lumettaRenderWindow", true);
            byClass->show();
            byProperty->show();
            ExpectSameImage(expected, RenderControl(panel, rect, true, QImage::Format_RGB32));
            delete byClass;
            delete byProperty;
        }
    }
}

TEST(RenderControl, AreaOutsideTheControlIsBlack)
{
    std::unique_ptr<QWidget> panel = MakePanel();
    const QImage image = RenderControl(panel.get(), QRect(200, 150, 40, 30), true, QImage::Format_RGB32);
    const qreal ratio = panel->devicePixelRatioF();
    ASSERT_EQ(image.size(), QSize(qRound(40 * ratio), qRound(30 * ratio)));
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(qRound(25 * ratio), 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 0), Grab(panel.get(), QRect(200, 150, 1, 1)).pixel(0, 0));
    // Frame memory: a run takes the rendered picture as its new one without copying it again.
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(image.constBits()) % 64, 0u);
}

TEST(RenderControl, NothingToRender)
{
    EXPECT_TRUE(RenderControl(nullptr, QRect(0, 0, 10, 10), true, QImage::Format_RGB32).isNull());
    QWidget widget;
    EXPECT_TRUE(RenderControl(&widget, QRect(0, 0, 0, 10), true, QImage::Format_RGB32).isNull());

    RenderWindow window;
    ColouredChild(nullptr, &window, QRect(0, 0, 8, 8), Qt::white);
    const QImage image = RenderControl(&window, QRect(0, 0, 8, 8), true, QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(3, 3), qRgb(0, 0, 0));
}

TEST(RenderControl, EmbeddedWindowsComeFromTheScreenAndAreRedrawnAfter)
{
    QWidget panel;
    panel.resize(80, 60);
    QWidget *container = QWidget::createWindowContainer(new QWindow, &panel);
    container->setGeometry(10, 10, 40, 30);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const QImage image = RenderControl(&panel, panel.rect(), true, QImage::Format_RGB32);
    EXPECT_EQ(image.size(), panel.grab().size());
    EXPECT_EQ(container->property("HelpContext").toInt(), -4);
    RefreshControl(&panel);
    EXPECT_EQ(container->property("HelpContext").toInt(), 0);
}

TEST(RenderControl, ConvertsToTheRequestedFormat)
{
    QWidget panel;
    ColouredChild(nullptr, &panel, QRect(0, 0, 16, 16), QColor(255, 0, 0));
    struct Case
    {
        QImage::Format format;
        QList<QRgb> table;
        QRgb expected;
    };
    const Case cases[] = {
        {QImage::Format_RGB16, {}, qRgb(255, 0, 0)},
        {QImage::Format_RGB555, {}, qRgb(255, 0, 0)},
        {QImage::Format_RGB888, {}, qRgb(255, 0, 0)},
        {QImage::Format_Indexed8, {qRgb(0, 0, 0), qRgb(204, 51, 0), qRgb(255, 255, 255)}, qRgb(204, 51, 0)},
    };
    for (const Case &c : cases) {
        const QImage image = RenderControl(&panel, QRect(0, 0, 16, 16), true, c.format, c.table);
        EXPECT_EQ(image.format(), c.format);
        EXPECT_EQ(image.pixel(5, 5), c.expected) << c.format;
    }
}

// On a palette screen a control's colours map to the palette entries a screen copy of the same
// colours gets, so an old picture and a new one meet in the same colours.
TEST(RenderControl, PaletteScreensMapColoursAsScreenCopiesDo)
{
    QImage colours(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            colours.setPixel(x, y, qRgb(x * 4 + y % 4, y * 4 + x % 4, (x * 7 + y * 13) % 256));
    QLabel panel;
    panel.setPixmap(QPixmap::fromImage(colours));
    panel.setContentsMargins(0, 0, 0, 0);
    panel.resize(64, 64);
    const QImage rendered = RenderControl(&panel, QRect(0, 0, 64, 64), true, QImage::Format_Indexed8, SystemPalette());
    const QImage copied =
        ConvertToPixelFormat(RenderControl(&panel, QRect(0, 0, 64, 64), true, QImage::Format_RGB32), pf8bit);
    ASSERT_EQ(rendered.format(), QImage::Format_Indexed8);
    ASSERT_EQ(rendered.size(), copied.size());
    int differing = 0;
    for (int y = 0; y < rendered.height(); ++y)
        for (int x = 0; x < rendered.width(); ++x)
            differing += rendered.pixelIndex(x, y) != copied.pixelIndex(x, y);
    EXPECT_EQ(differing, 0);
}

void PaintSolidBlue(QWidget *control, QPainter &painter)
{
    painter.fillRect(control->rect(), QColor(0, 0, 255));
}

TEST(RenderControl, ClientCallbackPaintsBeforeTheChildren)
{
    RegisterControl(QStringLiteral("CallbackPanel"), -1, 4, &PaintSolidBlue);
    DerivedCallbackPanel panel;
    panel.resize(40, 40);
    ColouredChild(&panel, new QWidget, QRect(10, 10, 10, 10), QColor(0, 255, 0));
    const QImage image = RenderControl(&panel, QRect(0, 0, 40, 40), true, QImage::Format_RGB32);
    const qreal ratio = panel.devicePixelRatioF();
    EXPECT_EQ(image.pixel(qRound(2 * ratio), qRound(2 * ratio)), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(qRound(15 * ratio), qRound(15 * ratio)), qRgb(0, 255, 0));
}

TEST(RegisterControl, FlagsFromKinds)
{
    struct Case
    {
        int frame, client;
        bool redraw, repaintFrame;
        std::uint16_t flags;
    };
    const Case cases[] = {
        {1, 1, false, false, 0x00A5}, {2, 2, false, false, 0x0063},   {3, 3, false, false, 0x0129},
        {4, 4, false, false, 0x0C21}, {-1, -1, false, false, 0x0000}, {0, 7, false, false, 0x0021},
        {-1, 3, true, true, 0x0330},  {-1, -1, true, false, 0x0200},  {-1, -1, false, true, 0x0010},
    };
    for (const Case &c : cases) {
        RegisterControl(QStringLiteral("KindsProbe"), c.frame, c.client, nullptr, nullptr, c.redraw, c.repaintFrame);
        const RegisteredControl *record = FindRegisteredControl(QStringLiteral("kindsprobe"));
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->flags, c.flags) << c.frame << " " << c.client;
    }
    EXPECT_EQ(FindRegisteredControl(QStringLiteral("NeverRegistered")), nullptr);
}

TEST(RegisterControl, LookupWalksTheAncestry)
{
    QTextBrowser text;
    QListWidget list;
    QTreeView tree;
    QScrollArea scroll;
    QToolBar toolBar;
    QLabel label;
    QPushButton button;
    std::unique_ptr<QWidget> container(QWidget::createWindowContainer(new QWindow));
    struct Case
    {
        const QWidget *widget;
        std::uint16_t flags;
    };
    const Case cases[] = {
        {&text, 0x0823},    {&list, 0x0063},  {&tree, 0x00A9},   {&scroll, 0x00A9},
        {&toolBar, 0x00A9}, {&label, 0x0063}, {&button, 0x0063}, {container.get(), 0x0330},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LookupControl(c.widget).flags, c.flags) << c.widget->metaObject()->className();
    EXPECT_NE(LookupControl(&text).clientPaint, nullptr);
}

TEST(RegisterControl, DetectCompletesOpenMethods)
{
    EXPECT_EQ(DetectControlFlags(0x0021), 0x0063);
    EXPECT_EQ(DetectControlFlags(0x00A9), 0x00A9);
    EXPECT_EQ(DetectControlFlags(0x0401), 0x0401);
    EXPECT_EQ(DetectControlFlags(0x0200), 0x0200);
}

TEST(RefreshControl, MarkersAreStoredAndCleared)
{
    RegisterControl(QStringLiteral("RedrawPanel"), -1, 2, nullptr, nullptr, true, false);
    QWidget top;
    top.resize(60, 60);
    auto *redraw = new RedrawPanel(&top);
    redraw->setGeometry(0, 0, 30, 30);
    auto *inner = new QWidget(redraw);
    inner->setGeometry(0, 0, 10, 10);
    auto *helped = new QWidget(&top);
    helped->setGeometry(30, 0, 30, 30);
    helped->setProperty("HelpContext", 7);
    auto *full = new QWidget(&top);
    full->setGeometry(0, 30, 30, 30);
    full->setProperty("HelpContext", 7);
    full->setProperty("Tag", 9);

    RenderControl(&top, top.rect(), true, QImage::Format_RGB32);
    EXPECT_EQ(top.property("HelpContext").toInt(), -1);
    EXPECT_EQ(redraw->property("HelpContext").toInt(), -3);
    EXPECT_EQ(inner->property("HelpContext").toInt(), -1);
    EXPECT_EQ(helped->property("Tag").toInt(), -1);
    EXPECT_EQ(full->property("HelpContext").toInt(), 7);
    EXPECT_EQ(full->property("Tag").toInt(), 9);

    RefreshControl(&top);
    EXPECT_EQ(top.property("HelpContext").toInt(), 0);
    EXPECT_EQ(redraw->property("HelpContext").toInt(), 0);
    // A redrawn widget repaints its children itself; their markers stay until the next refresh.
    EXPECT_EQ(inner->property("HelpContext").toInt(), -1);
    EXPECT_EQ(helped->property("HelpContext").toInt(), 7);
    EXPECT_EQ(helped->property("Tag").toInt(), 0);
    EXPECT_EQ(full->property("HelpContext").toInt(), 7);
    EXPECT_EQ(full->property("Tag").toInt(), 9);
}

}  // namespace

#include "control_rendering_test.moc"
