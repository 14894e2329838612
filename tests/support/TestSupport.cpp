// SPDX-License-Identifier: MIT
#include "TestSupport.h"
#include "clock/BasTavisk.h"
#include "clock/ClockFont.h"
#include "compat/JapaneseFonts.h"
#include "compat/Now.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QtTest>
#include <cstdlib>

namespace {
QStringList &foldersToRemove()
{
    static QStringList folders;
    return folders;
}
void removeFolders()
{
    for (const QString &f : foldersToRemove())
        QDir(f).removeRecursively();
}
} // namespace

IsolatedStore::IsolatedStore()
{
    // Removed at exit, after the clock's single-instance lock (taken later)
    // has let go of its file in here.
    m_dir.setAutoRemove(false);
    if (foldersToRemove().isEmpty())
        std::atexit(removeFolders);
    foldersToRemove().append(m_dir.path());
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    QDir(m_dir.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(m_dir.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (m_dir.path() + QStringLiteral("/runtime")).toLocal8Bit());
}

QString IsolatedStore::configFile() const { return m_dir.path() + QStringLiteral("/Tavisk/Tavisk.conf"); }

void IsolatedStore::writeRaw(const QByteArray &contents) const
{
    QDir(m_dir.path()).mkpath(QStringLiteral("Tavisk"));
    QFile f(configFile());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    f.write(contents);
    f.flush();
    // File times are coarse; QSettings only rereads a file whose size or time
    // changed, so give every rewrite a time of its own.
    static qint64 stamp = 0;
    f.setFileTime(QDateTime::currentDateTime().addSecs(-100000 + ++stamp), QFileDevice::FileModificationTime);
}

QByteArray IsolatedStore::readRaw() const
{
    QFile f(configFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void IsolatedStore::clear() const { QFile::remove(configFile()); }

FakeNow::FakeNow(const QDateTime &start)
    : m_now(start)
{
    compat::setNowSource([this] { return m_now; });
}

FakeNow::~FakeNow() { compat::setNowSource({}); }

std::unique_ptr<IsolatedStore> initClockTest()
{
    auto store = std::make_unique<IsolatedStore>();
    installImpactStandIn();
    compat::installJapaneseFontStandIns();
    QApplication::setQuitOnLastWindowClosed(false);
    return store;
}

void resetClockState()
{
    using namespace BasTavisk;
    gColor = 0;
    gFontSize = 0;
    gShowSec = false;
    gLeft = gTop = 0;
    gAlarmTime.clear();
    gAlarmMsg.clear();
    gAlarmByClock = 0;
    gAlarmMin = 0;
}

void whenModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, timeoutMs] {
        QWidget *w = QApplication::activeModalWidget();
        if (w || clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            if (w)
                action(w);
        }
    });
    timer->start(20);
}

namespace {
bool isSeparatorLine(const QWidget *w)
{
    const auto *frame = qobject_cast<const QFrame *>(w);
    return frame && (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine);
}

// The controls the dialog was built with and shows now; Qt's own inner
// widgets (a text box's viewport, its scroll bars) are named "qt_...".
QList<QWidget *> shownControls(QWidget *dialog)
{
    QList<QWidget *> controls;
    for (QWidget *w : dialog->findChildren<QWidget *>())
        if (w->isVisibleTo(dialog) && !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))
            && !isSeparatorLine(w))
            controls << w;
    return controls;
}

// Where a control shows something: a label only as far as its text reaches.
QRect occupied(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return QRect(label->pos(), label->sizeHint().boundedTo(label->size()));
    return w->geometry();
}

QByteArray nameOf(const QWidget *w) { return w->objectName().toUtf8(); }
} // namespace

void verifyLayout(QWidget *dialog)
{
    const QList<QWidget *> controls = shownControls(dialog);
    QVERIFY(!controls.isEmpty());
    for (QWidget *w : controls) {
        const QRect inDialog(w->mapTo(dialog, QPoint(0, 0)), w->size());
        QVERIFY2(dialog->rect().contains(inDialog), nameOf(w) + " lies outside the window");
        QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), nameOf(w) + " lies outside its frame");
        for (QWidget *other : controls)
            if (other != w && other->parentWidget() == w->parentWidget())
                QVERIFY2(!occupied(w).intersects(occupied(other)), nameOf(w) + " covers " + nameOf(other));
        if (const auto *label = qobject_cast<QLabel *>(w)) {
            QVERIFY2(label->buddy(), nameOf(w) + " names no field");
            QVERIFY2(label->buddy()->isVisibleTo(dialog), nameOf(w) + " names a field not shown");
        }
        if (w->focusPolicy() != Qt::NoFocus)
            QVERIFY2(!w->accessibleName().isEmpty(), nameOf(w) + " has no name for screen readers");
    }
}

QList<QWidget *> tabCycle(QWidget *dialog)
{
    QList<QWidget *> order;
    QWidget *start = QApplication::focusWidget();
    QWidget *w = start;
    while (w && dialog->isAncestorOf(w) && order.size() < 50) {
        order << w;
        QTest::keyClick(w, Qt::Key_Tab);
        w = QApplication::focusWidget();
        if (w == start)
            break;
    }
    return order;
}
