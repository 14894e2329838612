// SPDX-License-Identifier: MIT
#pragma once
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QWidget;

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

// What every test program starts with, as the program itself starts: its own
// settings and runtime folders (kept by the returned store), the bundled face
// standing in for "impact", the installed Japanese faces standing in for the
// ones the dialogs name, and an application that closing a window does not end.
std::unique_ptr<IsolatedStore> initClockTest();

// Resets the shared clock state to its values at program start.
void resetClockState();

// Calls `action` as soon as a modal widget is up, from inside its event loop.
void whenModal(std::function<void(QWidget *)> action, int timeoutMs = 5000);

// What a user would notice of a dialog's layout, checked on the controls it
// shows now: each lies inside the window and inside the frame that holds it,
// no two cover each other (a label by the room its text takes), every label
// names a field shown with it, and every control that takes the focus has a
// name for screen readers. Separator lines may run to the window's edges.
void verifyLayout(QWidget *dialog);

// The controls Tab visits from the focused one until it comes back to it, in
// order. The dialog must be the active window.
QList<QWidget *> tabCycle(QWidget *dialog);
