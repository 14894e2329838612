// SPDX-License-Identifier: MIT
// The settings file under faults: the process killed (SIGKILL) in the middle
// of saves, a full filesystem, a read-only folder. The file must always parse
// and hold either the old or the new five values; a failed save must say so
// and leave the old file as it was.
//
// The saving side runs in child processes: this same executable, started
// with TAVISK_STORE_CHILD set ("loop": save two states in turn for ever;
// "once": one save, printing the message box's text if one opens).
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "menu/C_Menu.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <unistd.h>

using namespace BasTavisk;

namespace {
struct State {
    qint32 color;
    qint16 size;
    QPoint pos; // pixels
    bool seconds;
    QStringList texts; // Color, Size, Top, Left, Sec as saved
};

State stateA() { return {255, 18, {100, 200}, true, {"255", "18", "3000", "1500", "True"}}; }
State stateB() { return {65280, 36, {300, 50}, false, {"65280", "36", "750", "4500", "False"}}; }

void apply(Form1 &clock, const State &s)
{
    gColor = s.color;
    gFontSize = s.size;
    gShowSec = s.seconds;
    clock.move(s.pos);
}

// The five saved texts, read the way the clock reads them (QSettings).
QStringList savedTexts(const QString &configHome)
{
    QSettings ini(configHome + QStringLiteral("/Tavisk/Tavisk.conf"), QSettings::IniFormat);
    QStringList out;
    for (const char *key : {"Font/Color", "Font/Size", "Set/Top", "Set/Left", "Disp/Sec"})
        out << ini.value(QLatin1String(key)).toString();
    if (ini.status() != QSettings::NoError)
        out << QStringLiteral("(unreadable)");
    return out;
}

int childMain(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QByteArray mode = qgetenv("TAVISK_STORE_CHILD");
    Form1 clock;
    if (mode == "loop") {
        for (quint64 n = 0;; ++n) {
            apply(clock, n % 2 ? stateB() : stateA());
            C_Menu::instance()->p_savepic->trigger();
            const QByteArray line = "saved " + QByteArray::number(n) + "\n";
            if (write(1, line.constData(), size_t(line.size())) < 0)
                return 1;
        }
    }
    apply(clock, stateA());
    // Answers the message box, if the save opens one, noting its text.
    QString message;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&message] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            message = box->text().replace(u'\n', u' ');
            box->done(QMessageBox::Ok);
        }
    });
    answerer.start(5);
    C_Menu::instance()->p_savepic->trigger();
    const QByteArray line = (message.isEmpty() ? QStringLiteral("no message") : QStringLiteral("message: ") + message)
                                .toUtf8() + '\n';
    return write(1, line.constData(), size_t(line.size())) == line.size() ? 0 : 1;
}
} // namespace

class TestStoreCrash : public QObject
{
    Q_OBJECT
private slots:
    void killedDuringSaves();
    void fullFilesystem();
    void readOnlyFolder();

private:
    QProcess *startChild(const QByteArray &mode, const QString &configHome, const QStringList &wrapper = {});
    QTemporaryDir m_dir;
};

QProcess *TestStoreCrash::startChild(const QByteArray &mode, const QString &configHome, const QStringList &wrapper)
{
    auto *p = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVISK_STORE_CHILD"), QString::fromLatin1(mode));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::SeparateChannels);
    const QString self = QCoreApplication::applicationFilePath();
    if (wrapper.isEmpty())
        p->start(self, {});
    else
        p->start(wrapper.first(), wrapper.mid(1) << self);
    return p;
}

void TestStoreCrash::killedDuringSaves()
{
    const QString home = m_dir.path() + QStringLiteral("/killed");
    QDir().mkpath(home);
    QRandomGenerator rng(0x5eed0004);
    const QStringList a = stateA().texts, b = stateB().texts;
    int kills = 0, saves = 0, sawA = 0, sawB = 0;
    for (int round = 0; round < 40; ++round) {
        QProcess *child = startChild("loop", home);
        QVERIFY(child->waitForStarted());
        // Wait until saving is under way, then kill at a random moment of it.
        QByteArray out;
        while (!out.contains("saved") && child->waitForReadyRead(10000))
            out += child->readAllStandardOutput();
        if (!out.contains("saved")) { // a save held up by what the last kill left
            QFile lock(home + QStringLiteral("/Tavisk/Tavisk.conf.lock"));
            lock.open(QIODevice::ReadOnly);
            QFAIL(qPrintable(QStringLiteral("round %1: no save within 10 s; lock file: %2")
                                 .arg(round).arg(QString::fromLatin1(lock.readAll().toPercentEncoding()))));
        }
        QTest::qSleep(int(rng.bounded(1, 40)));
        child->kill(); // SIGKILL
        QVERIFY(child->waitForFinished());
        out += child->readAllStandardOutput();
        saves += int(out.count("saved"));
        delete child;
        ++kills;

        const QStringList saved = savedTexts(home);
        QVERIFY2(saved == a || saved == b, qPrintable(QStringLiteral("round %1: %2").arg(round).arg(saved.join(u'|'))));
        (saved == a ? sawA : sawB)++;
    }
    // A writer killed right after creating the lock file leaves it empty;
    // the next save must not wait for it to grow old.
    {
        QFile lock(home + QStringLiteral("/Tavisk/Tavisk.conf.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
    }
    QElapsedTimer took;
    took.start();
    QProcess *child = startChild("once", home);
    QVERIFY(child->waitForFinished(10000));
    QVERIFY2(took.elapsed() < 15000, qPrintable(QStringLiteral("save after a left-over lock took %1 ms").arg(took.elapsed())));
    QCOMPARE(child->readAllStandardOutput().trimmed(), QByteArray("no message"));
    QCOMPARE(savedTexts(home), a);
    delete child;
    qInfo("%d kills during %d completed saves: the file parsed every time, %d times the one set, %d the other",
          kills, saves, sawA, sawB);
    QVERIFY(sawA > 0 && sawB > 0);
}

void TestStoreCrash::fullFilesystem()
{
    if (geteuid() != 0)
        QSKIP("mounting a small tmpfs needs root");
    const QString mnt = m_dir.path() + QStringLiteral("/full");
    QDir().mkpath(mnt);
    QCOMPARE(QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tavisk-full", mnt}), 0);
    auto unmount = qScopeGuard([mnt] { QProcess::execute(QStringLiteral("umount"), {mnt}); });

    QDir().mkpath(mnt + QStringLiteral("/Tavisk"));
    const QByteArray old = "[Disp]\nSec=False\n\n[Font]\nColor=65280\nSize=36\n\n[Set]\nLeft=4500\nTop=750\n";
    {
        QFile f(mnt + QStringLiteral("/Tavisk/Tavisk.conf"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(old), qint64(old.size()));
    }
    { // Fill what is left.
        QFile filler(mnt + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    QProcess *child = startChild("once", mnt);
    QVERIFY(child->waitForFinished(10000));
    const QByteArray out = child->readAllStandardOutput();
    delete child;
    QVERIFY2(out.startsWith("message: "), out.constData());
    QVERIFY2(out.contains("Tavisk.conf"), out.constData()); // says where
    QFile f(mnt + QStringLiteral("/Tavisk/Tavisk.conf"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
}

void TestStoreCrash::readOnlyFolder()
{
    // Root ignores permissions: as root the save runs as nobody.
    QStringList wrapper;
    QString home = m_dir.path() + QStringLiteral("/readonly");
    QDir().mkpath(home + QStringLiteral("/Tavisk"));
    const QByteArray old = "[Disp]\nSec=False\n\n[Font]\nColor=65280\nSize=36\n\n[Set]\nLeft=4500\nTop=750\n";
    {
        QFile f(home + QStringLiteral("/Tavisk/Tavisk.conf"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    if (geteuid() == 0) {
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("setpriv (util-linux) is needed to drop root");
        wrapper = {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                   QStringLiteral("--clear-groups")};
        for (const QString &p : {m_dir.path(), home, home + QStringLiteral("/Tavisk"),
                                 home + QStringLiteral("/Tavisk/Tavisk.conf")})
            QVERIFY(::chown(QFile::encodeName(p).constData(), 65534, 65534) == 0);
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                | QFileDevice::ExeOther);
    }
    // The folder read-only; the file itself stays writable by its owner, so
    // only a save that writes in place would get through.
    QVERIFY(QFile::setPermissions(home + QStringLiteral("/Tavisk"),
                                  QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QProcess *child = startChild("once", home, wrapper);
    QVERIFY(child->waitForFinished(10000));
    const QByteArray out = child->readAllStandardOutput();
    const QByteArray err = child->readAllStandardError();
    delete child;
    QFile::setPermissions(home + QStringLiteral("/Tavisk"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY2(out.startsWith("message: "), (out + err).constData());
    QFile f(home + QStringLiteral("/Tavisk/Tavisk.conf"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("TAVISK_STORE_CHILD"))
        return childMain(argc, argv);
    QApplication app(argc, argv);
    TestStoreCrash test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_store_crash.moc"
