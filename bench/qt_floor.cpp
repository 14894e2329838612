// SPDX-License-Identifier: MIT
// The least a Qt Widgets clock can cost: a small frameless window showing a
// bold 36 pt time text, and an 800 ms timer that does nothing. bench/run.sh
// measures it next to the clock, so that what the clock itself adds can be
// told apart from what starting and waking a Qt program costs at all.
//
// With --translucent, the least a Qt clock with antialiased digits on a
// transparent window can cost under a compositing manager: a bold 18 pt time
// text in a window of the clock's size at 18 pt, painted anew each second
// over a transparent fill, nothing else.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace {
class TranslucentClock : public QWidget
{
public:
    TranslucentClock() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        resize(177, 53);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setPen(Qt::red);
        painter.drawText(rect(), Qt::AlignCenter, QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool translucent = app.arguments().contains(QStringLiteral("--translucent"));
    QFont font = app.font();
    font.setPointSize(translucent ? 18 : 36);
    font.setBold(true);
    app.setFont(font);
    QTimer timer;
    if (translucent) {
        TranslucentClock window;
        window.show();
        QObject::connect(&timer, &QTimer::timeout, &window, qOverload<>(&QWidget::update));
        timer.start(1000);
        return app.exec();
    }
    QLabel window(QStringLiteral("12:34:56"), nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.show();
    QObject::connect(&timer, &QTimer::timeout, [] {});
    timer.start(800);
    return app.exec();
}
