// SPDX-License-Identifier: MIT
#include "clock/Form1.h"
#include "alarm/C_AlamF.h"
#include "clock/BasTavisk.h"
#include "compat/Beep.h"
#include "compat/Now.h"
#include "compat/Numbers.h"
#include "compat/PrevInstance.h"
#include "compat/Twips.h"
#include "compat/WinColor.h"
#include "menu/C_Menu.h"
#include "windowsystem/WindowSystem.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <cmath>

using namespace BasTavisk;

namespace {
Form1 *theClock = nullptr;

bool onAnyScreen(double leftTwips, double topTwips, const QSize &size)
{
    constexpr double kFar = 1e8; // beyond any screen, and safe to convert to int
    if (!(std::abs(leftTwips) < kFar && std::abs(topTwips) < kFar))
        return false; // also rejects infinities and NaN
    const QRect rect(QPoint(compat::twipsToPixelsX(leftTwips), compat::twipsToPixelsY(topTwips)), size);
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen->geometry().intersects(rect))
            return true;
    return false;
}
} // namespace

Form1 *Form1::instance() { return theClock; }

Form1::Form1()
    : QWidget(nullptr, Qt::Window | windowsystem::current().desktopWindowFlags())
    , m_face(this)
{
    theClock = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setGeometry(compat::twipsRect(0, 0, 1890, 705));
    setAutoFillBackground(true);
    // Moves come without a held button too: one ends a move whose release
    // went elsewhere.
    setMouseTracking(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &Form1::on_Timer1_timeout);
}

Form1::~Form1()
{
    if (theClock == this)
        theClock = nullptr;
}

bool Form1::Form_Load()
{
    // Only one clock per user; a second one leaves without a word.
    if (compat::previousInstance())
        return false;

    Timer1->start(800);
    readSettings();
    gAlarmTime.clear(); // no alarm survives a restart

    // The way the digits are painted follows the desktop: antialiased when a
    // compositing manager runs. It is a property of the native window, which
    // does not exist yet.
    m_face.choosePainting(windowsystem::current().composited());

    // The first showing is set up as a tick sets up the next.
    const QString timeText = TimeText(compat::now(), gShowSec);
    setClockProperties(timeText, WindowSizeTwips(gFontSize));
    placeAt(gLeft, gTop);
    m_face.shapeToText(timeText);

    m_previousTick = compat::now();
    return true;
}

void Form1::readSettings()
{
    // A value that does not fit its variable is skipped and the variable
    // keeps its start value.
    if (auto c = compat::RoundToInt32(compat::NumberFromText(ReadSetting(kApp, "Font", "Color"))))
        gColor = *c;
    if (auto s = compat::RoundToInt16(compat::NumberFromText(ReadSetting(kApp, "Font", "Size"))))
        gFontSize = *s;
    if (gFontSize == 0)
        gFontSize = 18;

    // "True" exactly turns the seconds on; blank leaves the check mark alone.
    switch (SecondsFromText(ReadSetting(kApp, "Disp", "Sec"))) {
    case SecondsSetting::Blank:
        gShowSec = false;
        break;
    case SecondsSetting::On:
        gShowSec = true;
        C_Menu::instance()->p_scale->setChecked(true);
        break;
    case SecondsSetting::Off:
        gShowSec = false;
        C_Menu::instance()->p_scale->setChecked(false);
        break;
    }

    // A stored 0 is a real position (the screen's edge); only an entry with no
    // number in it means "not placed yet", and the clock starts at the centre.
    gTop = compat::NumberAtStart(ReadSetting(kApp, "Set", "Top")).value_or(compat::screenHeightTwips() / 2);
    gLeft = compat::NumberAtStart(ReadSetting(kApp, "Set", "Left")).value_or(compat::screenWidthTwips() / 2);
}

void Form1::placeAt(double leftTwips, double topTwips)
{
    // A position off every screen (a monitor unplugged, a smaller resolution)
    // would lose a frameless clock: it starts at the centre instead.
    if (!onAnyScreen(leftTwips, topTwips, size())) {
        gLeft = compat::screenWidthTwips() / 2;
        gTop = compat::screenHeightTwips() / 2;
        leftTwips = gLeft;
        topTwips = gTop;
    }
    windowsystem::current().place(this, QPoint(compat::twipsToPixelsX(leftTwips), compat::twipsToPixelsY(topTwips)));
}

void Form1::on_Timer1_timeout()
{
    // The time as shown, and as the alarm compares it: one reading of the
    // clock, so that the two never straddle a second.
    const QDateTime comparisonTime = compat::now();
    const QString timeText = TimeText(comparisonTime, gShowSec);

    // A nested tick (the firing sequence lets events run) must
    // not fire it a second time.
    if (!m_alarmFiring) {
        const bool due = AlarmDue(gAlarmTime, m_previousTick, comparisonTime);
        m_previousTick = comparisonTime;
        if (due)
            fireAlarm();
    }

    const QSize sizeTwips = WindowSizeTwips(gFontSize);

    // A compositing manager started or ended since the last tick: the window
    // is made again for the other way of painting, and shown once it has its
    // properties and outline, so that it never shows as a box.
    const bool recreate = windowsystem::current().composited() != m_face.translucent();
    if (recreate)
        m_face.recreateForPainting(!m_face.translucent());

    setClockProperties(timeText, sizeTwips);
    m_face.shapeToText(timeText);

    if (recreate) {
        show();
        // A window manager may put a new window that does not take the focus
        // below the focused one: the clock was on top of that, and stays so.
        raise();
        if (C_Menu::instance()->ppopup->isChecked())
            windowsystem::current().setOnTop(this, true);
    }
}

void Form1::fireAlarm()
{
    m_alarmFiring = true;
    QCoreApplication::processEvents();
    compat::beep();
    C_AlamF *notice = C_AlamF::instance();
    notice->txt->setPlainText(gAlarmMsg);
    notice->showNotice();
    QCoreApplication::processEvents();
    gAlarmTime.clear();
    gAlarmMsg.clear();
    m_alarmFiring = false;
}

// Each property is handed to the window only when it differs from what the
// window has, so the window always ends up exactly as if all of them had been
// set; a tick that changes nothing then sends nothing to the display server.
void Form1::setClockProperties(const QString &timeText, const QSize &sizeTwips)
{
    const int heightPx = compat::twipsToPixelsY(sizeTwips.height());
    const int widthPx = compat::twipsToPixelsX(sizeTwips.width());
    if (height() != heightPx)
        resize(width(), heightPx);
    if (width() != widthPx)
        resize(widthPx, height());
    const QString title = timeText.trimmed();
    if (windowTitle() != title) {
        setWindowTitle(title);
        setAccessibleName(title); // what screen readers announce for the clock
    }
    const QFont &current = font();
    // A size the font refuses keeps the one it had.
    const int points = gFontSize > 0 ? gFontSize : current.pointSize();
    if (current.family() != QLatin1String("impact") || current.pointSize() != points || !current.bold()) {
        QFont clockFont = current;
        clockFont.setFamily(QStringLiteral("impact"));
        clockFont.setPointSize(points);
        clockFont.setBold(true);
        setFont(clockFont);
    }
    const QColor colour = compat::fromWinColor(gColor);
    if (palette().color(QPalette::Window) != colour) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, colour);
        setPalette(pal); // the digits take it on with their next outline
    }
}

void Form1::showEvent(QShowEvent *)
{
    // The native window exists now and is not on screen yet.
    windowsystem::current().prepare(this);
}

// A window that goes, or a pointer taken from it (a compositor's lock screen
// or overview), ends a move: no release will come.
void Form1::hideEvent(QHideEvent *) { windowsystem::current().endMove(this); }

void Form1::leaveEvent(QEvent *) { windowsystem::current().endMove(this); }

// On another scale (the window went to another output, or the user changed
// its scale) the digits are drawn for the new pixels at once, not scaled up
// from the old ones until the next tick. (Qt does not hand this event on to
// changeEvent().)
bool Form1::event(QEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event->type() == QEvent::DevicePixelRatioChange)
        m_face.reshape();
#endif
    return QWidget::event(event);
}

void Form1::paintEvent(QPaintEvent *) { m_face.paint(); }

void Form1::mousePressEvent(QMouseEvent *event)
{
    // Modifiers play no part; the middle button does nothing.
    windowsystem::WindowSystem &windows = windowsystem::current();
    if (event->button() == Qt::LeftButton) {
        // A clicked window comes to the front, and the clock follows the
        // pointer itself until the button is released. Handing the move to
        // the window manager (_NET_WM_MOVERESIZE) left Qt 6.4 believing the
        // button was still down, and its own request could start from a
        // wrong point and make the clock jump.
        windows.raise(this);
        windows.beginMove(this, event);
    } else if (event->button() == Qt::RightButton) {
        // The menu takes the pointer: a move under way ends where it is.
        windows.endMove(this);
        windows.raise(this);
        // The pointer's screen position in pixels, worked out in twips, as
        // the window system reported it with the press (and as Qt places a
        // menu); the window's own x() and y() may still be where Qt asked for
        // it, not where it is.
        const QPointF at = event->globalPosition();
        C_Menu::instance()->popupAt(QPoint(compat::pixelThroughTwips(at.x(), compat::twipsPerPixelX()),
                                           compat::pixelThroughTwips(at.y(), compat::twipsPerPixelY())));
    }
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        windowsystem::current().followMove(this, event);
    else
        windowsystem::current().endMove(this);
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        windowsystem::current().endMove(this);
}
