// SPDX-License-Identifier: MIT
// The notice of a fired alarm: its layout, and a keyboard that can only
// acknowledge it.
#include "TestSupport.h"
#include "alarm/C_AlamF.h"

#include <QApplication>
#include <QtTest>

class TestCAlamF : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void noticeLayout();
    void noticeKeyboard();

private:
    std::unique_ptr<IsolatedStore> m_store;
};

void TestCAlamF::initTestCase() { m_store = initClockTest(); }

void TestCAlamF::cleanup()
{
    if (C_AlamF::exists())
        delete C_AlamF::instance();
}

void TestCAlamF::noticeLayout()
{
    C_AlamF *n = C_AlamF::instance();
    QVERIFY(!n->isVisible()); // created loaded, not shown
    QCOMPARE(n->minimumSize(), n->maximumSize()); // not resizable
    QVERIFY(!(n->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(n->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(n->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(n->txt->isReadOnly());
    QCOMPARE(n->txt->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(n->txt->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!n->Command1->isDefault());
    verifyLayout(n);
}

void TestCAlamF::noticeKeyboard()
{
    C_AlamF *n = C_AlamF::instance();
    n->txt->setPlainText(QStringLiteral("typing changes nothing"));
    n->showNotice();
    QVERIFY(QTest::qWaitForWindowActive(n));
    QCOMPARE(QApplication::focusWidget(), n->Command1);
    QCOMPARE(tabCycle(n), QList<QWidget *>{n->Command1}); // the message is no tab stop

    QTest::keyClicks(n->txt, QStringLiteral("xyz"));
    QCOMPARE(n->txt->toPlainText(), QStringLiteral("typing changes nothing"));

    QPointer<C_AlamF> alive = n;
    QTest::keyClick(n->Command1, Qt::Key_Escape);
    QTest::qWait(50);
    QVERIFY(!alive.isNull() && alive->isVisible()); // no cancel button
    QTest::keyClick(n->Command1, Qt::Key_Return);
    QTRY_VERIFY(alive.isNull());
}

QTEST_MAIN(TestCAlamF)
#include "tst_calamf.moc"
