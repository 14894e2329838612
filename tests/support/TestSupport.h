#pragma once
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <functional>

// Each test program gets its own settings folder (XDG_CONFIG_HOME) and
// runtime folder, never the user's own.
class IsolatedStore
{
public:
    IsolatedStore();
    QString configFile() const; // $XDG_CONFIG_HOME/Tavisk/Tavisk.conf
    void writeRaw(const QByteArray &contents) const;
    QByteArray readRaw() const;
    void clear() const;
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// A clock the test moves by hand.
class FakeNow
{
public:
    explicit FakeNow(const QDateTime &start);
    ~FakeNow();
    void set(const QDateTime &t) { m_now = t; }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }
    QDateTime value() const { return m_now; }

private:
    QDateTime m_now;
};

// Resets the shared clock state to its values at program start.
void resetClockState();

// Calls `action` as soon as a modal widget is up, from inside its event loop.
void whenModal(std::function<void(QWidget *)> action, int timeoutMs = 5000);
