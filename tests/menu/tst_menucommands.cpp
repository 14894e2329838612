// SPDX-License-Identifier: MIT
// The context menu and its commands: entries, check marks, colour, help and
// about boxes, always on top, save and exit.
#include "TestSupport.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "compat/Beep.h"
#include "compat/Twips.h"
#include "compat/Version.h"
#include "menu/C_Menu.h"

#include <QApplication>
#include <QAbstractButton>
#include <QColorDialog>
#include <QMessageBox>
#include <QProcess>
#include <QWindow>
#include <QtTest>
#include <unistd.h>

using namespace BasTavisk;

class TestMenuCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuEntries();
    void secondsTwiceReturns();
    void colourCancelAndChoice();
    void helpAndAboutBoxes();
    void clockTicksAndAlarmFiresWhileBoxIsOpen();
    void alwaysOnTopToggles();
    void saveWritesFiveTexts();
    void saveThenRestartRestores();
    void saveIntoReadOnlyFolderKeepsOldFile();
    void exitEndsWithoutSaving(); // last: it ends the event loops

private:
    std::unique_ptr<IsolatedStore> m_store;
    std::unique_ptr<Form1> m_clock;
    int m_beeps = 0;
};

void TestMenuCommands::initTestCase()
{
    m_store = initClockTest();
    compat::setBeepSink([this] { ++m_beeps; });
}

void TestMenuCommands::init()
{
    resetClockState();
    m_store->clear();
    m_beeps = 0;
    C_Menu::instance()->p_scale->setChecked(false);
    C_Menu::instance()->ppopup->setChecked(false);
    m_clock = std::make_unique<Form1>();
    QVERIFY(m_clock->Form_Load());
}

void TestMenuCommands::cleanup() { m_clock.reset(); }

void TestMenuCommands::menuEntries()
{
    QMenu *menu = C_Menu::instance()->findChild<QMenu *>("p_Main");
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("MainMenu"));
    const QList<QAction *> actions = menu->actions();
    const QStringList names = {"p_ColorSelect", "p_FontSSelect", "p_scale", "ppopup", "p_alam", "p_savepic",
                               "dummy", "p_help", "dumy3", "p_about", "dummy2", "p_end"};
    const QStringList captions = {"Color(&C)", "FontSize(&F)", QStringLiteral("秒表示(&S)"), "AlwaysTop(&L)",
                                  QStringLiteral("アラーム(&D)"), "SaveSetting(&P)", "", "Help(&H)", "",
                                  "About(&A)", "", "Exit(&E)"};
    QCOMPARE(actions.size(), 12);
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(actions[i]->objectName(), names[i]);
        // A separator with a text would show that text next to its line.
        QCOMPARE(actions[i]->isSeparator(), captions[i].isEmpty());
        QCOMPARE(actions[i]->text(), captions[i]);
        const bool checkable = names[i] == QLatin1String("p_scale") || names[i] == QLatin1String("ppopup");
        QCOMPARE(actions[i]->isCheckable(), checkable);
    }
    QVERIFY(!C_Menu::instance()->isVisible());
}

void TestMenuCommands::secondsTwiceReturns()
{
    QAction *p_scale = C_Menu::instance()->p_scale;
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 7)));
    for (int round = 0; round < 2; ++round) {
        p_scale->trigger();
        QCOMPARE(gShowSec, true);
        QCOMPARE(p_scale->isChecked(), true);
        m_clock->on_Timer1_timeout();
        QCOMPARE(m_clock->windowTitle(), QStringLiteral("09:05:07"));
        p_scale->trigger();
        QCOMPARE(gShowSec, false);
        QCOMPARE(p_scale->isChecked(), false);
        m_clock->on_Timer1_timeout();
        QCOMPARE(m_clock->windowTitle(), QStringLiteral("09:05"));
    }
}

void TestMenuCommands::colourCancelAndChoice()
{
    gColor = 0x123456;
    whenModal([](QWidget *w) {
        auto *dialog = qobject_cast<QColorDialog *>(w);
        QVERIFY(dialog);
        dialog->setCurrentColor(QColor(1, 2, 3));
        dialog->reject();
    });
    C_Menu::instance()->p_ColorSelect->trigger();
    QCOMPARE(gColor, 0x123456);

    whenModal([](QWidget *w) {
        auto *dialog = qobject_cast<QColorDialog *>(w);
        QVERIFY(dialog);
        dialog->setCurrentColor(QColor(10, 20, 30));
        dialog->accept();
    });
    C_Menu::instance()->p_ColorSelect->trigger();
    QCOMPARE(gColor, 10 | (20 << 8) | (30 << 16)); // red in the low byte
    m_clock->on_Timer1_timeout();
    QCOMPARE(m_clock->palette().color(QPalette::Window), QColor(10, 20, 30));
}

void TestMenuCommands::helpAndAboutBoxes()
{
    struct Seen { QString title, text; QMessageBox::Icon icon = QMessageBox::NoIcon; bool okOnly = false; };
    auto inspect = [](Seen *seen) {
        whenModal([seen](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box);
            seen->title = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            seen->okOnly = box->buttons().size() == 1 && box->button(QMessageBox::Ok);
            box->button(QMessageBox::Ok)->click();
        });
    };
    Seen help;
    inspect(&help);
    C_Menu::instance()->p_help->trigger();
    QCOMPARE(help.title, QString::fromLatin1(compat::version::kProductName));
    QVERIFY(help.text.contains(QStringLiteral("右クリック"))); // how to reach the settings
    QCOMPARE(help.icon, QMessageBox::Information);
    QVERIFY(help.okOnly);

    Seen about;
    inspect(&about);
    C_Menu::instance()->p_about->trigger();
    QCOMPARE(about.title, QString::fromLatin1(compat::version::kProductName));
    QCOMPARE(about.icon, QMessageBox::NoIcon);
    QVERIFY(about.text.contains(QStringLiteral("Copyright")));
    QVERIFY(!about.text.contains(QLatin1Char('\n')));
    QVERIFY(about.okOnly);
}

void TestMenuCommands::clockTicksAndAlarmFiresWhileBoxIsOpen()
{
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0, 200)));
    gAlarmTime = QStringLiteral("10:00:01");
    gShowSec = true;
    QString titleWhileOpen;
    whenModal([&](QWidget *w) {
        now.advanceMs(1000);
        QTest::qWait(1700); // two real ticks of the clock's own timer
        titleWhileOpen = m_clock->windowTitle();
        qobject_cast<QMessageBox *>(w)->button(QMessageBox::Ok)->click();
    });
    C_Menu::instance()->p_help->trigger();
    QCOMPARE(titleWhileOpen, QStringLiteral("10:00:01"));
    QCOMPARE(m_beeps, 1);
    QVERIFY(gAlarmTime.isEmpty());
}

void TestMenuCommands::alwaysOnTopToggles()
{
    m_clock->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_clock.get()));
    const WId id = m_clock->winId();
    QAction *ppopup = C_Menu::instance()->ppopup;
    ppopup->trigger();
    QVERIFY(ppopup->isChecked());
    QVERIFY(m_clock->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    ppopup->trigger();
    QVERIFY(!ppopup->isChecked());
    QVERIFY(!(m_clock->windowHandle()->flags() & Qt::WindowStaysOnTopHint));
    QCOMPARE(m_clock->winId(), id); // the window was not recreated
    QVERIFY(m_clock->isVisible());
}

void TestMenuCommands::saveWritesFiveTexts()
{
    gColor = 255;
    gFontSize = 36;
    gShowSec = true;
    m_clock->move(-10, -20); // dragged partly off the top-left
    C_Menu::instance()->p_savepic->trigger();
    QCOMPARE(ReadSetting(kApp, "Font", "Color"), QStringLiteral("255"));
    QCOMPARE(ReadSetting(kApp, "Font", "Size"), QStringLiteral("36"));
    QCOMPARE(ReadSetting(kApp, "Set", "Top"), QString::number(compat::pixelsToTwipsY(-20)));
    QCOMPARE(ReadSetting(kApp, "Set", "Left"), QString::number(compat::pixelsToTwipsX(-10)));
    QCOMPARE(ReadSetting(kApp, "Disp", "Sec"), QStringLiteral("True"));
    gShowSec = false;
    C_Menu::instance()->p_savepic->trigger();
    QCOMPARE(ReadSetting(kApp, "Disp", "Sec"), QStringLiteral("False"));
    // The start-up position is not what is saved: the window's own is.
    QVERIFY(gLeft != compat::pixelsToTwipsX(-10));
}

void TestMenuCommands::saveThenRestartRestores()
{
    gColor = 0x00A0FF;
    gFontSize = 24;
    C_Menu::instance()->p_scale->trigger();
    m_clock->move(0, 37); // the left screen edge is a real position
    C_Menu::instance()->p_savepic->trigger();
    const QPoint saved = m_clock->pos();
    m_clock.reset();

    resetClockState();
    C_Menu::instance()->p_scale->setChecked(false);
    Form1 again;
    QVERIFY(again.Form_Load());
    QCOMPARE(gColor, 0x00A0FF);
    QCOMPARE(gFontSize, qint16(24));
    QCOMPARE(gShowSec, true);
    QVERIFY(C_Menu::instance()->p_scale->isChecked());
    QCOMPARE(again.pos(), saved);
}

// Permissions do not hold for root, so as root the check runs in a copy of
// this program as an unprivileged user.
void TestMenuCommands::saveIntoReadOnlyFolderKeepsOldFile()
{
    if (geteuid() == 0) {
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                              | QFile::ReadOther | QFile::ExeOther);
        const QString copy = dir.path() + QStringLiteral("/tst_menucommands");
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), QStringLiteral("/tmp"));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups", copy,
                                                 "saveIntoReadOnlyFolderKeepsOldFile"});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray out = child.readAll();
        QVERIFY2(child.exitCode() == 0, out.constData());
        QVERIFY2(out.contains("PASS   : TestMenuCommands::saveIntoReadOnlyFolderKeepsOldFile()"), out.constData());
        return;
    }
    const QByteArray old = "[Font]\nColor=255\nSize=20\n";
    m_store->writeRaw(old);
    const QString folder = QFileInfo(m_store->configFile()).absolutePath();
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    gColor = 0xFFFFFF;
    QString message;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        message = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    C_Menu::instance()->p_savepic->trigger();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY2(message.contains(QStringLiteral("保存できませんでした")), qPrintable(message));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(m_store->readRaw(), old);
    QVERIFY(m_clock->Timer1->isActive()); // the clock goes on
}

void TestMenuCommands::exitEndsWithoutSaving()
{
    QVERIFY(WriteSetting(kApp, "Font", "Color", "255"));
    gColor = 0x00FF00;
    QEventLoop loop;
    QTimer::singleShot(0, C_Menu::instance()->p_end, &QAction::trigger);
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, &loop, [&loop] { loop.exit(99); });
    guard.start(5000);
    QCOMPARE(loop.exec(), 0);
    QCOMPARE(ReadSetting(kApp, "Font", "Color"), QStringLiteral("255"));
}

QTEST_MAIN(TestMenuCommands)
#include "tst_menucommands.moc"
