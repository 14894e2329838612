// SPDX-License-Identifier: MIT
// The clock window: start-up from the settings store, the tick, the shaped
// outline, and the alarm firing into the notice window.
#include "TestSupport.h"
#include "alarm/C_AlamF.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "clock/TextShape.h"
#include "compat/Beep.h"
#include "compat/Twips.h"
#include "menu/C_Menu.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QtTest>

using namespace BasTavisk;

class TestForm1 : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyStoreGivesDefaults();
    void storedValuesAreRead_data();
    void storedValuesAreRead();
    void positionsFromStore_data();
    void positionsFromStore();
    void secondsSettingSetsCheckMark();
    void garbageInEveryEntry();

    void tickAppliesStateChanges();
    void outlineFitsEveryWindowSize();
    void outlineHasHolesAndFollowsText();

    void alarmFiresOnceIntoNotice();
    void alarmFiresAfterStalledTick();
    void alarmAtMidnight();
    void nestedTickCannotFireTwice();
    void secondAlarmReusesNotice();

    void rightPressOpensMenuAtPointer();
    void leftDragMovesWithoutWindowManager();
    void dragEndsWithoutRelease();
    void middlePressDoesNothing();

private:
    std::unique_ptr<IsolatedStore> m_store;
    int m_beeps = 0;
};

void TestForm1::initTestCase()
{
    m_store = initClockTest();
    compat::setBeepSink([this] { ++m_beeps; });
}

void TestForm1::init()
{
    resetClockState();
    m_store->clear();
    m_beeps = 0;
    if (C_Menu::exists()) {
        C_Menu::instance()->p_scale->setChecked(false);
        C_Menu::instance()->ppopup->setChecked(false);
    }
}

void TestForm1::cleanup()
{
    if (C_AlamF::exists())
        delete C_AlamF::instance();
}

void TestForm1::emptyStoreGivesDefaults()
{
    QVERIFY(!C_Menu::exists()); // only a non-blank seconds entry creates the menu host
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 7)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    QVERIFY(!C_Menu::exists());
    QCOMPARE(gColor, 0);
    QCOMPARE(gFontSize, qint16(18));
    QCOMPARE(gShowSec, false);
    QVERIFY(gAlarmTime.isEmpty());
    QCOMPARE(clock.size(), compat::twipsRect(0, 0, 1700, 375).size());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(clock.pos(), QPoint(compat::twipsToPixelsX(compat::screenWidthTwips() / 2),
                                 compat::twipsToPixelsY(compat::screenHeightTwips() / 2)));
    QVERIFY(qAbs(clock.x() - screen.width() / 2) <= 1);
    QCOMPARE(clock.windowTitle(), QStringLiteral("09:05"));
    QCOMPARE(clock.palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(clock.font().family(), QStringLiteral("impact"));
    QCOMPARE(clock.font().pointSize(), 18);
    QVERIFY(clock.font().bold());
    QVERIFY(!clock.mask().isEmpty()); // shaped before it is first shown
    QVERIFY(clock.Timer1->isActive());
    QCOMPARE(clock.Timer1->interval(), 800);
}

void TestForm1::storedValuesAreRead_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("color");
    QTest::addColumn<int>("size");
    QTest::newRow("red, 36") << QByteArray("[Font]\nColor=255\nSize=36\n") << 255 << 36;
    QTest::newRow("trailing letters") << QByteArray("[Font]\nColor=12abc\nSize=20pt\n") << 12 << 20;
    QTest::newRow("half to even, down") << QByteArray("[Font]\nSize=18.5\n") << 0 << 18;
    QTest::newRow("half to even, up") << QByteArray("[Font]\nSize=19.5\n") << 0 << 20;
    QTest::newRow("letters only") << QByteArray("[Font]\nColor=abc\nSize=abc\n") << 0 << 18;
    QTest::newRow("size beyond 16 bits") << QByteArray("[Font]\nSize=40000\n") << 0 << 18;
    QTest::newRow("colour beyond 32 bits") << QByteArray("[Font]\nColor=4294967296\n") << 0 << 18;
    QTest::newRow("hex colour") << QByteArray("[Font]\nColor=&HFF\n") << 255 << 18;
    QTest::newRow("exponent") << QByteArray("[Font]\nColor=1e3\n") << 1000 << 18;
    QTest::newRow("hand-edited comma list") << QByteArray("[Font]\nColor=1,000\n") << 1 << 18;
    QTest::newRow("spaces around") << QByteArray("[Font]\nColor=\"  255  \"\n") << 255 << 18;
}

void TestForm1::storedValuesAreRead()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, color);
    QFETCH(int, size);
    m_store->writeRaw(ini);
    Form1 clock;
    QVERIFY(clock.Form_Load());
    QCOMPARE(gColor, color);
    QCOMPARE(int(gFontSize), size);
    QCOMPARE(clock.size(), compat::twipsRect(0, 0, WindowSizeTwips(size).width(), WindowSizeTwips(size).height()).size());
}

void TestForm1::positionsFromStore_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    const double cx = compat::screenWidthTwips() / 2, cy = compat::screenHeightTwips() / 2;
    QTest::newRow("absent") << QByteArray() << cx << cy;
    QTest::newRow("saved at the top edge") << QByteArray("[Set]\nTop=0\nLeft=300\n") << 300.0 << 0.0;
    QTest::newRow("saved at the left edge") << QByteArray("[Set]\nTop=600\nLeft=0\n") << 0.0 << 600.0;
    QTest::newRow("no number in it") << QByteArray("[Set]\nTop=abc\nLeft=x1\n") << cx << cy;
    QTest::newRow("partly above the screen") << QByteArray("[Set]\nTop=-150\nLeft=1500\n") << 1500.0 << -150.0;
    QTest::newRow("off every screen") << QByteArray("[Set]\nTop=300\nLeft=9000000\n") << cx << cy;
    QTest::newRow("far above") << QByteArray("[Set]\nTop=-90000\nLeft=300\n") << cx << cy;
    QTest::newRow("infinite") << QByteArray("[Set]\nTop=1e400\nLeft=-1e400\n") << cx << cy;
}

void TestForm1::positionsFromStore()
{
    QFETCH(QByteArray, ini);
    QFETCH(double, left);
    QFETCH(double, top);
    m_store->writeRaw(ini);
    Form1 clock;
    QVERIFY(clock.Form_Load());
    QCOMPARE(clock.pos(), QPoint(compat::twipsToPixelsX(left), compat::twipsToPixelsY(top)));
}

void TestForm1::secondsSettingSetsCheckMark()
{
    struct Case { QByteArray sec; bool shown; bool checkedAfter; };
    // The check mark starts set here, to see which texts leave it alone.
    const Case cases[] = {
        {"True", true, true}, {"true", false, false}, {"TRUE", false, false},
        {"\" True\"", false, false}, {"False", false, false},
        {"", false, true}, {"\"   \"", false, true},
    };
    for (const Case &c : cases) {
        resetClockState();
        C_Menu::instance()->p_scale->setChecked(true);
        m_store->writeRaw("[Disp]\nSec=" + c.sec + "\n");
        FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 7)));
        Form1 clock;
        QVERIFY(clock.Form_Load());
        QVERIFY2(gShowSec == c.shown, c.sec.constData());
        QVERIFY2(C_Menu::instance()->p_scale->isChecked() == c.checkedAfter, c.sec.constData());
        QCOMPARE(clock.windowTitle(), c.shown ? QStringLiteral("09:05:07") : QStringLiteral("09:05"));
    }
}

void TestForm1::garbageInEveryEntry()
{
    m_store->writeRaw(QByteArray("[Font]\nColor=\xff\xfe\x01junk\nSize=\x80\x81\n[Set]\nTop=nan\nLeft=&H\n"
                                 "[Disp]\nSec=\x01\x02\n"));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    QCOMPARE(gColor, 0);
    QCOMPARE(gFontSize, qint16(18));
    QCOMPARE(gShowSec, false);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(screen.intersects(clock.geometry()));
    QVERIFY(!clock.mask().isEmpty());
}

void TestForm1::tickAppliesStateChanges()
{
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 7)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    const QPoint placed = clock.pos();
    const QRegion before = clock.mask();

    gColor = 0x00FF00; // green, as a Windows colour value
    gFontSize = 36;
    gShowSec = true;
    now.advanceMs(800);
    clock.on_Timer1_timeout();
    QCOMPARE(clock.palette().color(QPalette::Window), QColor(0, 255, 0));
    QCOMPARE(clock.size(), compat::twipsRect(0, 0, 2650, 800).size());
    QCOMPARE(clock.font().pointSize(), 36);
    QCOMPARE(clock.windowTitle(), QStringLiteral("09:05:07"));
    QVERIFY(clock.mask() != before);
    QCOMPARE(clock.pos(), placed); // a tick never moves the clock

    gColor = 0xFF0000; // blue
    gFontSize = 14;
    clock.on_Timer1_timeout();
    QCOMPARE(clock.palette().color(QPalette::Window), QColor(0, 0, 255));
    QCOMPARE(clock.size(), compat::twipsRect(0, 0, 1315, 375).size());
}

// Every digit must lie wholly inside the window made for its size: the
// outline clipped to the window equals the unclipped outline.
void TestForm1::outlineFitsEveryWindowSize()
{
    for (int points : {12, 14, 16, 18, 20, 22, 24, 26, 28, 36}) {
        QFont font(QStringLiteral("impact"));
        font.setPointSize(points);
        font.setBold(true);
        const QSize window = compat::twipsRect(0, 0, WindowSizeTwips(points).width(), WindowSizeTwips(points).height()).size();
        for (const QString &text : {QStringLiteral("23:59:59"), QStringLiteral("23:59"), QStringLiteral("00:00:00"),
                                   QStringLiteral("08:48:48")}) {
            const QRegion clipped = textOutlineRegion(text, font, window);
            const QRegion whole = textOutlineRegion(text, font, window * 3);
            QVERIFY2(!whole.isEmpty(), qPrintable(text));
            QVERIFY2(clipped == whole, qPrintable(QStringLiteral("%1 at %2 pt").arg(text).arg(points)));
            QVERIFY2(whole.boundingRect().top() >= 1, "digits start below the window's top edge");
        }
    }
}

void TestForm1::outlineHasHolesAndFollowsText()
{
    QFont font(QStringLiteral("impact"));
    font.setPointSize(36);
    font.setBold(true);
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Anton")); // not a dingbat face
    const QSize window = compat::twipsRect(0, 0, 2650, 800).size();
    for (const QString &digit : {QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("6"),
                                QStringLiteral("8"), QStringLiteral("9")}) {
        const QRegion glyph = textOutlineRegion(digit, font, window);
        const QRect box = glyph.boundingRect();
        // Some row through the glyph crosses a hole: filled, empty, filled.
        bool hole = false;
        for (int y = box.top(); y <= box.bottom() && !hole; ++y) {
            int runs = 0;
            bool inside = false;
            for (int x = box.left(); x <= box.right() + 1; ++x) {
                const bool now = glyph.contains(QPoint(x, y));
                if (now && !inside)
                    ++runs;
                inside = now;
            }
            hole = runs >= 2;
        }
        QVERIFY2(hole, qPrintable(digit));
    }
    QVERIFY(textOutlineRegion("11:11", font, window) != textOutlineRegion("11:12", font, window));
    QVERIFY(textOutlineRegion("", font, window).isEmpty());
}

void TestForm1::alarmFiresOnceIntoNotice()
{
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(7, 29, 58, 900)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    gAlarmTime = QStringLiteral("07:30:00");
    gAlarmMsg = QStringLiteral("会議");

    now.advanceMs(800); // 07:29:59.700
    clock.on_Timer1_timeout();
    QCOMPARE(m_beeps, 0);
    QVERIFY(!C_AlamF::exists());

    now.advanceMs(800); // 07:30:00.500
    clock.on_Timer1_timeout();
    QCOMPARE(m_beeps, 1);
    QVERIFY(C_AlamF::exists());
    QVERIFY(C_AlamF::instance()->isVisible());
    QCOMPARE(C_AlamF::instance()->txt->toPlainText(), QStringLiteral("会議"));
    QVERIFY(gAlarmTime.isEmpty());
    QVERIFY(gAlarmMsg.isEmpty());

    now.advanceMs(300); // a second tick in the same second
    clock.on_Timer1_timeout();
    now.advanceMs(86400 * 1000); // and the same time tomorrow
    clock.on_Timer1_timeout();
    QCOMPARE(m_beeps, 1);
}

void TestForm1::alarmFiresAfterStalledTick()
{
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0, 100)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    gAlarmTime = QStringLiteral("12:00:02");
    now.advanceMs(800);
    clock.on_Timer1_timeout();
    QCOMPARE(m_beeps, 0);
    now.advanceMs(3000); // the event loop stalled past the alarm's second
    clock.on_Timer1_timeout();
    QCOMPARE(m_beeps, 1);
    now.advanceMs(800);
    clock.on_Timer1_timeout();
    QCOMPARE(m_beeps, 1);
}

void TestForm1::alarmAtMidnight()
{
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(23, 59, 58, 500)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    gAlarmTime = QStringLiteral("00:00:00");
    int firedAt = -1;
    for (int i = 0; i < 6; ++i) {
        now.advanceMs(800);
        clock.on_Timer1_timeout();
        if (m_beeps == 1 && firedAt < 0)
            firedAt = i;
    }
    QCOMPARE(m_beeps, 1);
    QCOMPARE(firedAt, 1); // 23:59:58.5 + 1.6 s = 00:00:00.1
}

// The firing sequence lets queued events run before it clears the alarm; a
// tick that runs in there must not fire the same alarm again.
void TestForm1::nestedTickCannotFireTwice()
{
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(6, 59, 59, 500)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    gAlarmTime = QStringLiteral("07:00:00");
    now.advanceMs(800);
    QMetaObject::invokeMethod(&clock, [&clock] { clock.on_Timer1_timeout(); }, Qt::QueuedConnection);
    clock.on_Timer1_timeout();
    QCOMPARE(m_beeps, 1);
    QVERIFY(gAlarmTime.isEmpty());
}

void TestForm1::secondAlarmReusesNotice()
{
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0, 100)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    gAlarmTime = QStringLiteral("08:00:01");
    gAlarmMsg = QStringLiteral("first");
    now.advanceMs(1000);
    clock.on_Timer1_timeout();
    QVERIFY(C_AlamF::exists());
    C_AlamF *first = C_AlamF::instance();

    gAlarmTime = QStringLiteral("08:00:02");
    gAlarmMsg = QStringLiteral("second");
    now.advanceMs(1000);
    clock.on_Timer1_timeout();
    QCOMPARE(m_beeps, 2);
    QCOMPARE(C_AlamF::instance(), first);
    QCOMPARE(first->txt->toPlainText(), QStringLiteral("second"));
    int notices = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        notices += w->objectName() == QLatin1String("C_AlamF");
    QCOMPARE(notices, 1);

    // OK destroys it; the next alarm makes a fresh, centred one.
    QPointer<C_AlamF> gone = first;
    first->Command1->click();
    QTRY_VERIFY(gone.isNull());
    gAlarmTime = QStringLiteral("08:00:03");
    now.advanceMs(1000);
    clock.on_Timer1_timeout();
    QVERIFY(C_AlamF::exists());
    QVERIFY(C_AlamF::instance()->txt->toPlainText().isEmpty());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(C_AlamF::instance()->frameGeometry().center().x() - screen.center().x()) <= 2);
}

void TestForm1::rightPressOpensMenuAtPointer()
{
    Form1 clock;
    QVERIFY(clock.Form_Load());
    clock.move(100, 50);
    clock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&clock));
    QMenu *menu = C_Menu::instance()->p_Main;
    QTest::mousePress(&clock, Qt::RightButton, Qt::ShiftModifier, QPoint(20, 5));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(120, 55));
    menu->hide();
    QCOMPARE(clock.pos(), QPoint(100, 50));
}

// Where the window manager cannot move windows (here: none at all), the
// clock follows the pointer itself, and stays where it was let go.
void TestForm1::leftDragMovesWithoutWindowManager()
{
    Form1 clock;
    QVERIFY(clock.Form_Load());
    clock.move(100, 50);
    clock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&clock));
    const double startLeft = gLeft;
    QTest::mousePress(&clock, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), clock.mapToGlobal(QPointF(10, 10)) + QPointF(40, 30),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&clock, &move);
    QTest::mouseRelease(&clock, Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
    QCOMPARE(clock.pos(), QPoint(140, 80));
    QCOMPARE(gLeft, startLeft); // the start-up position is not touched
    // Moves after the release do not drag.
    QMouseEvent hover(QEvent::MouseMove, QPointF(5, 5), clock.mapToGlobal(QPointF(5, 5)) + QPointF(99, 99),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&clock, &hover);
    QCOMPARE(clock.pos(), QPoint(140, 80));
}

// A drag whose release never comes to the clock (a menu opened during it
// takes the release; the pointer was taken by the compositor; the release
// went to another window) ends all the same: moves with the button still
// held do not drag it any more.
void TestForm1::dragEndsWithoutRelease()
{
    Form1 clock;
    QVERIFY(clock.Form_Load());
    clock.move(100, 50);
    clock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&clock));
    const auto heldMove = [&clock](QPoint by) {
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), clock.mapToGlobal(QPointF(10, 10)) + QPointF(by),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&clock, &move);
    };
    QTest::mousePress(&clock, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    heldMove(QPoint(40, 30));
    QCOMPARE(clock.pos(), QPoint(140, 80));
    QTest::mousePress(&clock, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    QTRY_VERIFY(C_Menu::instance()->p_Main->isVisible());
    C_Menu::instance()->p_Main->hide();
    heldMove(QPoint(20, 20));
    QCOMPARE(clock.pos(), QPoint(140, 80));

    QTest::mousePress(&clock, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&clock, &leave);
    heldMove(QPoint(20, 20));
    QCOMPARE(clock.pos(), QPoint(140, 80));

    QTest::mousePress(&clock, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent released(QEvent::MouseMove, QPointF(10, 10), clock.mapToGlobal(QPointF(30, 30)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&clock, &released);
    QCOMPARE(clock.pos(), QPoint(140, 80));
    heldMove(QPoint(20, 20));
    QCOMPARE(clock.pos(), QPoint(140, 80));
}

void TestForm1::middlePressDoesNothing()
{
    Form1 clock;
    QVERIFY(clock.Form_Load());
    clock.move(100, 50);
    clock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&clock));
    QTest::mousePress(&clock, Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
    QTest::qWait(50);
    QVERIFY(!C_Menu::exists() || !C_Menu::instance()->p_Main->isVisible());
    QTest::mouseRelease(&clock, Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(clock.pos(), QPoint(100, 50));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
