#include "clock/Form1.h"
#include "clock/BasTavisk.h"
#include "clock/C_AlamF.h"
#include "clock/C_Menu.h"
#include "platform/Beep.h"
#include "platform/Compositor.h"
#include "platform/DesktopWindow.h"
#include "platform/Now.h"
#include "platform/PrevInstance.h"
#include "platform/SolidWindow.h"
#include "platform/TextShape.h"
#include "platform/Twips.h"
#include "platform/WinColor.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
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
    const QRect rect(QPoint(platform::twipsToPixelsX(leftTwips), platform::twipsToPixelsY(topTwips)), size);
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen->geometry().intersects(rect))
            return true;
    return false;
}
} // namespace

Form1 *Form1::instance() { return theClock; }

Form1::Form1()
    : QWidget(nullptr, Qt::Window | platform::desktopWindowFlags())
{
    theClock = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setGeometry(platform::twipsRect(0, 0, 1890, 705));
    setAutoFillBackground(true);

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
    // 1. Only one clock per user; a second one leaves without a word.
    if (platform::previousInstance())
        return false;

    // 3. From now on the clock ticks every 800 ms.
    Timer1->start(800);

    // 4. The saved settings. A value that does not fit its variable is
    // skipped and the variable keeps its start value.
    if (auto c = RoundToInt32(NumberFromText(ReadSetting(kApp, "Font", "Color"))))
        gColor = *c;
    if (auto s = RoundToInt16(NumberFromText(ReadSetting(kApp, "Font", "Size"))))
        gFontSize = *s;
    // A stored 0 is a real position (the screen's edge); only an entry with no
    // number in it means "not placed yet".
    const std::optional<double> top = NumberAtStart(ReadSetting(kApp, "Set", "Top"));
    const std::optional<double> left = NumberAtStart(ReadSetting(kApp, "Set", "Left"));
    const QString secondsText = ReadSetting(kApp, "Disp", "Sec");

    // 5. No alarm survives a restart.
    gAlarmTime.clear();

    // 6. Seconds: "True" exactly turns them on; blank leaves the check mark alone.
    switch (SecondsFromText(secondsText)) {
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

    // 7. Position: the screen's centre when none was saved.
    gTop = top.value_or(platform::screenHeightTwips() / 2);
    gLeft = left.value_or(platform::screenWidthTwips() / 2);

    // 8. Size.
    if (gFontSize == 0)
        gFontSize = 18;

    // The way the digits are painted follows the desktop: antialiased when a
    // compositing manager runs. It is a property of the native window, which
    // does not exist yet.
    choosePainting(platform::compositorRunning());

    // 9-12. Format, size, properties, position, shape: as a tick does.
    const QString timeText = TimeText(platform::now(), gShowSec);
    setClockProperties(timeText, WindowSizeTwips(gFontSize));
    placeAt(gLeft, gTop);
    shapeToText(timeText);

    m_previousTick = platform::now();
    return true;
}

void Form1::placeAt(double leftTwips, double topTwips)
{
    // A position off every screen (a monitor unplugged, a smaller resolution)
    // would lose a frameless clock: it starts at the centre instead.
    if (!onAnyScreen(leftTwips, topTwips, size())) {
        gLeft = platform::screenWidthTwips() / 2;
        gTop = platform::screenHeightTwips() / 2;
        leftTwips = gLeft;
        topTwips = gTop;
    }
    move(platform::twipsToPixelsX(leftTwips), platform::twipsToPixelsY(topTwips));
}

void Form1::on_Timer1_timeout()
{
    // 1-2. The time as shown, and as the alarm compares it: one reading of
    // the clock, so that the two never straddle a second.
    const QDateTime comparisonTime = platform::now();
    const QString timeText = TimeText(comparisonTime, gShowSec);

    // 3. The alarm. A nested tick (the firing sequence lets events run) must
    // not fire it a second time.
    if (!m_alarmFiring) {
        const bool due = AlarmDue(gAlarmTime, m_previousTick, comparisonTime);
        m_previousTick = comparisonTime;
        if (due)
            fireAlarm();
    }

    // 4. Size.
    const QSize sizeTwips = WindowSizeTwips(gFontSize);

    // A compositing manager started or ended since the last tick: the window
    // is made again for the other way of painting, and shown once it has its
    // properties and outline, so that it never shows as a box.
    const bool recreate = platform::compositorRunning() != m_translucent;
    if (recreate)
        recreateForPainting(!m_translucent);

    // 5. Properties: height, width, title, font, bold, colour.
    setClockProperties(timeText, sizeTwips);

    // 6. Outline.
    shapeToText(timeText);

    if (recreate) {
        show();
        // A window manager may put a new window that does not take the focus
        // below the focused one: the clock was on top of that, and stays so.
        raise();
        if (C_Menu::instance()->ppopup->isChecked())
            platform::setTopMost(this, true);
    }
}

void Form1::choosePainting(bool translucent)
{
    m_translucent = translucent;
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    setAttribute(Qt::WA_NoSystemBackground, translucent);
    setAutoFillBackground(!translucent);
}

void Form1::recreateForPainting(bool translucent)
{
    // The window's visual (with or without an alpha channel) is fixed when the
    // native window is made. The new one goes where the old one really is.
    const QPoint where = platform::positionOnScreen(this);
    hide();
    destroy();
    choosePainting(translucent);
    create();
    move(where);
}

void Form1::fireAlarm()
{
    m_alarmFiring = true;
    QCoreApplication::processEvents();
    platform::beep();
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
    const int heightPx = platform::twipsToPixelsY(sizeTwips.height());
    const int widthPx = platform::twipsToPixelsX(sizeTwips.width());
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
    const QColor colour = platform::fromWinColor(gColor);
    if (palette().color(QPalette::Window) != colour) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, colour);
        setPalette(pal);
        if (!m_translucent)
            platform::paintSolidBySystem(this, colour); // the painted digits follow in shapeToText
    }
}

void Form1::shapeToText(const QString &timeText)
{
    // The outline follows from the text, the font and the window size alone,
    // drawn at the screen's device pixels; painted antialiased, the digits
    // also follow their colour. When none changed and the window still
    // carries what was built from them, a rebuild would hand it the same.
    const qreal ratio = devicePixelRatioF();
    const QColor colour = palette().color(QPalette::Window);
    if (timeText == m_shapedText && font() == m_shapedFont && size() == m_shapedSize && ratio == m_shapedRatio
        && m_translucent == m_shapedTranslucent && (!m_translucent || colour == m_shapedColour)
        && (m_shapedWindow ? m_shapedWindow == winId() : mask() == m_shape))
        return;
    if (m_translucent) {
        // The digits cover what they are painted on, to the faintest edge
        // pixel: that, not the 1-bit outline, is what the user sees and clicks.
        m_digits = platform::paintedText(timeText, font(), size(), ratio, colour);
        m_shape = platform::paintedRegion(m_digits);
    } else {
        m_digits = QImage();
        m_shape = platform::textOutlineRegion(timeText, font(), size(), ratio);
    }
    m_shapedText = timeText;
    m_shapedFont = font();
    m_shapedSize = size();
    m_shapedRatio = ratio;
    m_shapedTranslucent = m_translucent;
    m_shapedColour = colour;
    const bool onServer = m_translucent ? platform::setTranslucentOutline(this, m_shape)
                                        : platform::setOutline(this, m_shape);
    m_shapedWindow = onServer ? winId() : 0;
    if (m_translucent)
        update(); // the digits are painted only when they change
}

void Form1::showEvent(QShowEvent *)
{
    // The native window exists now and is not mapped yet.
    if (m_translucent)
        platform::paintTranslucentByProgram(this);
    else
        platform::paintSolidBySystem(this, palette().color(QPalette::Window));
    platform::keepShadowOff(this);
    platform::keepOffTaskbar(this);
    platform::keepOnTopOfXWindows(this);
}

void Form1::paintEvent(QPaintEvent *)
{
    // The solid clock is painted by the X server alone.
    if (!m_translucent)
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.drawImage(0, 0, m_digits);
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    // Modifiers play no part; the middle button does nothing.
    if (event->button() == Qt::LeftButton) {
        // The clock follows the pointer itself until the button is released.
        // Handing the move to the window manager (_NET_WM_MOVERESIZE) left Qt
        // 6.4 believing the button was still down, and its own request could
        // start from a wrong point and make the clock jump.
        m_selfDrag = true;
        m_dragOffset = event->position().toPoint(); // the pointer within the window
        gApiRet = 0;
    } else if (event->button() == Qt::RightButton) {
        // The pointer's screen position in pixels, worked out in twips. The
        // X server reports it with the press; the window's own x() and y()
        // may still be where Qt asked for it, not where it is.
        const QPointF at = event->globalPosition();
        C_Menu::instance()->popupAt(QPoint(platform::pixelThroughTwips(at.x(), platform::twipsPerPixelX()),
                                           platform::pixelThroughTwips(at.y(), platform::twipsPerPixelY())));
    }
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    if (m_selfDrag && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_selfDrag = false;
}
