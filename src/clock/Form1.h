#pragma once
#include <QDateTime>
#include <QImage>
#include <QTimer>
#include <QWidget>

// The clock: a frameless window cut to the outline of the time text, so that
// only the digits show, filled with the digit colour.
class Form1 : public QWidget
{
    Q_OBJECT
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
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setClockProperties(const QString &timeText, const QSize &sizeTwips);
    void shapeToText(const QString &timeText);
    void fireAlarm();
    void placeAt(double leftTwips, double topTwips);
    void choosePainting(bool translucent);
    void recreateForPainting(bool translucent);

    QDateTime m_previousTick;   // the previous alarm check, for late ticks
    bool m_alarmFiring = false; // the firing sequence lets events run: no re-entry
    bool m_selfDrag = false;    // a left drag is moving the window
    QPoint m_dragOffset;

    // With a compositing manager the digits are painted, antialiased, on a
    // transparent window; without one the X server paints the shaped window.
    bool m_translucent = false;

    // What the window's outline was last built from, and the outline itself
    // (device pixels), and where it went: the X window it was sent to, or
    // none when it is the widget's mask.
    QString m_shapedText;
    QFont m_shapedFont;
    QSize m_shapedSize;
    qreal m_shapedRatio = 0;
    bool m_shapedTranslucent = false;
    QColor m_shapedColour;
    WId m_shapedWindow = 0;
    QRegion m_shape;
    QImage m_digits; // the painted digits, with a compositing manager
};
