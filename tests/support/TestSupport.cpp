#include "TestSupport.h"
#include "clock/BasTavisk.h"
#include "platform/Now.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
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
    platform::setNowSource([this] { return m_now; });
}

FakeNow::~FakeNow() { platform::setNowSource({}); }

void resetClockState()
{
    using namespace BasTavisk;
    gColor = 0;
    gFontSize = 0;
    gShowSec = false;
    gApiRet = 0;
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
