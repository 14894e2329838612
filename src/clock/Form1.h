// SPDX-License-Identifier: MIT
#pragma once
#include "clock/ClockFace.h"
#include <QDateTime>
#include <QTimer>
#include <QWidget>

// The clock: a frameless window cut to the outline of the time text, so that
// only the digits show, filled with the digit colour.
class Form1 : public QWidget
{
    Q_OBJECT
    friend class ClockFace; // makes the native window again
public:
    Form1();
    ~Form1() override;
    static Form1 *instance();

    // The start-up handler. False when another clock already runs: the window
    // is then not to be shown and the process ends.
    bool Form_Load();

    QTimer *Timer1;

    void on_Timer1_timeout();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The saved settings into the clock state.
    void readSettings();
    void setClockProperties(const QString &timeText, const QSize &sizeTwips);
    void fireAlarm();
    void placeAt(double leftTwips, double topTwips);

    QDateTime m_previousTick;   // the previous alarm check, for late ticks
    bool m_alarmFiring = false; // the firing sequence lets events run: no re-entry

    ClockFace m_face;
};
