// SPDX-License-Identifier: MIT
// The font size dialog: opening, preselection, O K and the close box, its
// layout and keyboard; and the stand-ins for the layouts' Japanese font names.
#include "TestSupport.h"
#include "clock/BasTavisk.h"
#include "commands/C_Font.h"
#include "compat/Twips.h"
#include "menu/C_Menu.h"

#include <QtTest>

using namespace BasTavisk;

namespace {
C_Font *openDialog()
{
    C_Menu::instance()->p_FontSSelect->trigger();
    return C_Font::exists() ? C_Font::instance() : nullptr;
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

int openDialogs()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<C_Font *>(w) ? 1 : 0;
    return n;
}
} // namespace

class TestCFont : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void japaneseNamesStandForInstalledFaces_data();
    void japaneseNamesStandForInstalledFaces();
    void openingPreselectsTheCurrentSize();
    void okStoresTheChoiceAndCloses();
    void closeBoxChangesNothing();
    void openingTwiceLeavesOneDialog();
    void sizeNotInTheList();
    void layoutAndKeyboard();

private:
    std::unique_ptr<IsolatedStore> m_store;
};

void TestCFont::initTestCase() { m_store = initClockTest(); }

void TestCFont::init()
{
    resetClockState();
    gFontSize = 18;
}

void TestCFont::cleanup()
{
    if (C_Font::exists())
        C_Font::instance()->close();
    flushDeletes();
}

void TestCFont::japaneseNamesStandForInstalledFaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("face");
    QTest::newRow("proportional Mincho") << QStringLiteral("ＭＳ Ｐ明朝") << "IPAPMincho";
    QTest::newRow("Mincho") << QStringLiteral("ＭＳ 明朝") << "IPAMincho";
    QTest::newRow("proportional Gothic") << QStringLiteral("ＭＳ Ｐゴシック") << "IPAPGothic";
    QTest::newRow("Gothic") << QStringLiteral("ＭＳ ゴシック") << "IPAGothic";
}

void TestCFont::japaneseNamesStandForInstalledFaces()
{
    QFETCH(QString, name);
    QFETCH(QString, face);
    QFont font(name);
    font.setPointSizeF(12);
    font.setBold(true);
    QCOMPARE(QFontInfo(font).family(), face);
    const QFontMetrics metrics(font);
    for (QChar c : QStringLiteral("指定アラーム時メッセージ：解除閉じる"))
        QVERIFY2(metrics.inFont(c), qPrintable(QString(c)));
}

void TestCFont::openingPreselectsTheCurrentSize()
{
    C_Font *dialog = openDialog();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(!dialog->isModal() && !QApplication::activeModalWidget()); // the command returned
    QVERIFY(!dialog->parentWidget());
    QCOMPARE(dialog->cboFont->currentText(), QStringLiteral("18"));
    QCOMPARE(dialog->pos(), compat::centredOnScreen(dialog->frameGeometry().size()));

    // O K without a change keeps the size it had.
    dialog->cmd->click();
    QCOMPARE(int(gFontSize), 18);
}

void TestCFont::okStoresTheChoiceAndCloses()
{
    C_Font *dialog = openDialog();
    dialog->cboFont->setCurrentText(QStringLiteral("36"));
    dialog->cmd->click();
    QCOMPARE(int(gFontSize), 36);
    flushDeletes();
    QVERIFY(!C_Font::exists());
    QCOMPARE(openDialogs(), 0);

    // The next opening is a new dialog, showing the new size.
    QCOMPARE(openDialog()->cboFont->currentText(), QStringLiteral("36"));
}

void TestCFont::closeBoxChangesNothing()
{
    C_Font *dialog = openDialog();
    dialog->cboFont->setCurrentText(QStringLiteral("12"));
    dialog->close();
    flushDeletes();
    QVERIFY(!C_Font::exists());
    QCOMPARE(int(gFontSize), 18);
}

void TestCFont::openingTwiceLeavesOneDialog()
{
    C_Font *dialog = openDialog();
    dialog->cboFont->setCurrentText(QStringLiteral("28")); // not confirmed
    dialog->move(0, 0);
    QCOMPARE(openDialog(), dialog);
    QCOMPARE(openDialogs(), 1);
    QCOMPARE(dialog->cboFont->currentText(), QStringLiteral("18"));
    QCOMPARE(dialog->pos(), compat::centredOnScreen(dialog->frameGeometry().size()));
}

void TestCFont::sizeNotInTheList()
{
    // Only a hand-edited store gives such a size: nothing is selected, and
    // O K leaves the size alone.
    gFontSize = 15;
    C_Font *dialog = openDialog();
    QCOMPARE(dialog->cboFont->currentIndex(), -1);
    dialog->cmd->click();
    QCOMPARE(int(gFontSize), 15);
}

void TestCFont::layoutAndKeyboard()
{
    C_Font *dialog = openDialog();
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize()); // not resizable
    const Qt::WindowFlags flags = dialog->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    verifyLayout(dialog);

    QComboBox *list = dialog->cboFont;
    QVERIFY(!list->isEditable());
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    QCOMPARE(entries, QString("12 14 16 18 20 22 24 26 28 36").split(u' '));
    QPushButton *ok = dialog->cmd;
    QVERIFY(ok->isEnabled() && !ok->isDefault());

    // The focus starts on the list; Tab goes to the button and back.
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QCOMPARE(QApplication::focusWidget(), list);
    QCOMPARE(tabCycle(dialog), (QList<QWidget *>{list, ok}));

    // Escape does nothing; Enter presses the button only while it has the focus.
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(dialog->isVisible());
    list->setCurrentText(QStringLiteral("20"));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    QCOMPARE(int(gFontSize), 20);
    QVERIFY(!dialog->isVisible());
}

QTEST_MAIN(TestCFont)
#include "tst_cfont.moc"
