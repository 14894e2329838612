// SPDX-License-Identifier: MIT
#include "x11/SolidWindow.h"
#include "x11/X11.h"

#include <QColor>
#include <QGuiApplication>
#include <QRegion>
#include <QVarLengthArray>
#include <QWidget>
#include <QWindow>
#include <bit>
#include <cstdint>
#include "x11/XlibHeaders.h"

namespace x11 {
namespace {

using x11::Reply;

Reply<xcb_get_window_attributes_reply_t> attributesOf(xcb_connection_t *connection, xcb_window_t id)
{
    return Reply<xcb_get_window_attributes_reply_t>(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, id), nullptr));
}

const xcb_visualtype_t *findVisual(xcb_connection_t *connection, xcb_visualid_t id, std::uint8_t *depth)
{
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem; xcb_screen_next(&screens))
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem; xcb_depth_next(&depths))
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
                if (visuals.data->visual_id == id) {
                    *depth = depths.data->depth;
                    return visuals.data;
                }
    return nullptr;
}

Display *xlibDisplay()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// One channel (0-255) scaled into the bits of its mask.
std::uint32_t channelBits(int value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t max = mask >> shift;
    return ((std::uint32_t(value) * max + 127) / 255) << shift;
}

} // namespace

namespace {
// Sets the window's background to `colour` (alpha included, on a visual that
// has it) and stops the events in `ignored`.
void setBackground(QWidget *window, const QColor &colour, std::uint32_t ignored)
{
    xcb_connection_t *connection = x11::connection();
    if (!connection || !window->testAttribute(Qt::WA_WState_Created))
        return;
    const xcb_window_t id = xcb_window_t(window->winId());
    const auto attributes = attributesOf(connection, id);
    if (!attributes)
        return;
    std::uint8_t depth = 0;
    const xcb_visualtype_t *visual = findVisual(connection, attributes->visual, &depth);
    // Only a visual that holds colours directly has a pixel value for any
    // colour; on others the window keeps being painted by the program.
    if (!visual || (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR && visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR))
        return;
    const QColor rgb = colour.toRgb();
    const std::uint32_t rgbMasks = visual->red_mask | visual->green_mask | visual->blue_mask;
    // Bits of a deeper visual beyond red, green and blue are alpha, and the
    // colour channels of such a visual are premultiplied by it.
    const std::uint32_t depthBits = depth >= 32 ? ~0u : (1u << depth) - 1;
    const std::uint32_t alphaMask = depthBits & ~rgbMasks;
    const int alpha = alphaMask ? rgb.alpha() : 255;
    std::uint32_t pixel = channelBits(rgb.red() * alpha / 255, visual->red_mask)
        | channelBits(rgb.green() * alpha / 255, visual->green_mask)
        | channelBits(rgb.blue() * alpha / 255, visual->blue_mask) | channelBits(alpha, alphaMask);

    const std::uint32_t eventMask = attributes->your_event_mask & ~ignored;
    const std::uint32_t values[] = {pixel, eventMask}; // in the order of the value bits
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_flush(connection);
}

bool hasAlpha(xcb_connection_t *connection, QWidget *window)
{
    const auto attributes = attributesOf(connection, xcb_window_t(window->winId()));
    std::uint8_t depth = 0;
    return attributes && findVisual(connection, attributes->visual, &depth) && depth == 32;
}

void shapeWith(QWidget *window, int kind, const QRegion &region)
{
    Display *display = xlibDisplay();
    QVarLengthArray<XRectangle, 256> rects;
    for (const QRect &r : region)
        rects.append(XRectangle{short(r.x()), short(r.y()), (unsigned short)(r.width()), (unsigned short)(r.height())});
    // A region's rectangles come in rows from top to bottom, each row's from
    // left to right, all rows of a band equally tall: the server need not sort.
    XShapeCombineRectangles(display, ::Window(window->winId()), kind, 0, 0, rects.data(), int(rects.size()), ShapeSet,
                            YXBanded);
}
} // namespace

void paintSolidBySystem(QWidget *window, const QColor &colour)
{
    setBackground(window, colour, XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_PROPERTY_CHANGE);
}

void paintTranslucentByProgram(QWidget *window)
{
    xcb_connection_t *connection = x11::connection();
    if (!connection || !window->testAttribute(Qt::WA_WState_Created) || !hasAlpha(connection, window))
        return;
    setBackground(window, Qt::transparent, XCB_EVENT_MASK_PROPERTY_CHANGE);
}

// Qt's own mask (QWidget::setMask) is given in logical pixels and scaled to
// device pixels, so it cannot hold an outline drawn at the device's
// resolution: the outline goes to the X server directly, and the widget
// keeps no mask that Qt could send over it.
namespace {
// The outline as the window's visible shape and, when `alsoInput`, as the
// area that takes clicks; off X11, the widget's mask.
bool sendOutline(QWidget *window, const QRegion &outline, bool alsoInput)
{
    Display *display = xlibDisplay();
    if (!display) {
        window->setMask(outline);
        return false;
    }
    window->winId(); // a window shaped before it is first shown
    if (alsoInput)
        shapeWith(window, ShapeInput, outline);
    shapeWith(window, ShapeBounding, outline);
    XFlush(display);
    return true;
}
} // namespace

bool setOutline(QWidget *window, const QRegion &outline) { return sendOutline(window, outline, false); }

bool setTranslucentOutline(QWidget *window, const QRegion &outline) { return sendOutline(window, outline, true); }

void setTopMost(QWidget *window, bool onTop)
{
    QWindow *handle = window->windowHandle();
    if (!handle)
        return;
    xcb_connection_t *connection = x11::connection();
    if (!connection) {
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
        return;
    }
    // Qt resets the event mask whenever a window's flags change.
    const xcb_window_t id = xcb_window_t(window->winId());
    const auto attributes = attributesOf(connection, id);
    handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (!attributes)
        return;
    const std::uint32_t eventMask = attributes->your_event_mask;
    xcb_change_window_attributes(connection, id, XCB_CW_EVENT_MASK, &eventMask);
    xcb_flush(connection);
}

} // namespace x11
