// SPDX-License-Identifier: MIT
// The clock's window on a real X server: the server paints it from its
// background in exactly the digit colour, the window ignores the echoes of
// its own changes (exposures, property changes) even after always-on-top is
// switched, and a new outline reaches the server without waiting for events.
#include "x11/SolidWindow.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtTest>
#include <memory>
#include <xcb/xcb.h>
#include "x11/XlibHeaders.h" // Xlib for the second client only

namespace {
xcb_connection_t *qtConnection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

std::uint32_t eventMaskOf(QWidget *w)
{
    xcb_connection_t *c = qtConnection();
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, xcb_window_t(w->winId())), nullptr),
        &std::free);
    return reply ? reply->your_event_mask : 0;
}

// The pixel at (x, y) of the window, as the server holds it, as 0xRRGGBB on
// this display's 24-bit TrueColor visual.
std::uint32_t serverPixel(QWidget *w, int x, int y)
{
    xcb_connection_t *c = qtConnection();
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, xcb_window_t(w->winId()), x, y, 1, 1, ~0u),
                            nullptr),
        &std::free);
    if (!reply || xcb_get_image_data_length(reply.get()) < 4)
        return 0xDEADBEEF;
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, xcb_get_image_data(reply.get()), 4);
    return pixel & 0xFFFFFF;
}

std::unique_ptr<QWidget> shownWindow()
{
    auto w = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    w->setGeometry(100, 100, 120, 60);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        return nullptr;
    return w;
}
} // namespace

class TestSolidWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void serverPaintsTheExactColour_data();
    void serverPaintsTheExactColour();
    void echoesStayOffAcrossAlwaysOnTop();
    void outlineReachesTheServerAtOnce();
};

void TestSolidWindow::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs the X11 platform (run through tests/support/on-x.sh)");
}

void TestSolidWindow::serverPaintsTheExactColour_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red") << QColor(255, 0, 0);
    QTest::newRow("channels differ") << QColor(0x20, 0x90, 0xE0);
    QTest::newRow("black") << QColor(0, 0, 0);
    QTest::newRow("white") << QColor(255, 255, 255);
}

void TestSolidWindow::serverPaintsTheExactColour()
{
    QFETCH(QColor, colour);
    auto w = shownWindow();
    QVERIFY(w);
    x11::paintSolidBySystem(w.get(), colour);
    // What the server paints by itself where nobody draws: the background.
    xcb_clear_area(qtConnection(), 0, xcb_window_t(w->winId()), 0, 0, 0, 0);
    QCOMPARE(serverPixel(w.get(), 10, 10), std::uint32_t(colour.rgb() & 0xFFFFFF));
}

void TestSolidWindow::echoesStayOffAcrossAlwaysOnTop()
{
    auto w = shownWindow();
    QVERIFY(w);
    const std::uint32_t before = eventMaskOf(w.get());
    QVERIFY(before & XCB_EVENT_MASK_PROPERTY_CHANGE); // Qt's own choice, for contrast
    QVERIFY(before & XCB_EVENT_MASK_EXPOSURE);

    x11::paintSolidBySystem(w.get(), Qt::red);
    const std::uint32_t quiet = eventMaskOf(w.get());
    QCOMPARE(quiet & (XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_PROPERTY_CHANGE), 0u);
    // Everything else the window listens for is kept: mapping, input.
    QCOMPARE(quiet, before & ~std::uint32_t(XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_PROPERTY_CHANGE));

    // Qt resets a window's event mask whenever its flags change.
    x11::setTopMost(w.get(), true);
    QVERIFY(w->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(eventMaskOf(w.get()), quiet);
    x11::setTopMost(w.get(), false);
    QVERIFY(!(w->windowHandle()->flags() & Qt::WindowStaysOnTopHint));
    QCOMPARE(eventMaskOf(w.get()), quiet);
    QVERIFY(w->isVisible());
}

void TestSolidWindow::outlineReachesTheServerAtOnce()
{
    auto w = shownWindow();
    QVERIFY(w);
    x11::paintSolidBySystem(w.get(), Qt::red);
    const QRegion outline = QRegion(5, 5, 20, 30) + QRegion(40, 10, 15, 15);
    x11::setOutline(w.get(), outline);

    // A second client asks the server, with no event processed in between.
    Display *other = XOpenDisplay(nullptr);
    QVERIFY(other);
    int count = 0, ordering = 0;
    XRectangle *rects = XShapeGetRectangles(other, Window(w->winId()), ShapeBounding, &count, &ordering);
    QRegion seen;
    for (int i = 0; i < count; ++i)
        seen += QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    XFree(rects);
    XCloseDisplay(other);
    QCOMPARE(seen, outline);
}

QTEST_MAIN(TestSolidWindow)
#include "tst_solidwindow.moc"
