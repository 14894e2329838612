// The least a Qt Widgets clock can cost: a small frameless window showing a
// bold 36 pt time text, and an 800 ms timer that does nothing. bench/run.sh
// measures it next to the clock, so that what the clock itself adds can be
// told apart from what starting and waking a Qt program costs at all.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("12:34:56"), nullptr, Qt::Tool | Qt::FramelessWindowHint);
    QFont font = window.font();
    font.setPointSize(36);
    font.setBold(true);
    window.setFont(font);
    window.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [] {});
    timer.start(800);
    return app.exec();
}
