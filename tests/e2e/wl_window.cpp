// SPDX-License-Identifier: MIT
// A native Wayland window that logs the clicks it gets, to check which clicks
// reach a window below the clock.
//   wl_window LOGFILE TITLE [maximized|normal|blink]
// Appends "ready W H" once shown at its settled size (no change of size for
// 200 ms: compositors may show it first at its own size) and "press BUTTON X Y" (window-local
// logical pixels, buttons 1 left, 2 middle, 3 right) for each press. White,
// like the window below the clock in the X11 checks. A blinking window is
// opened and closed again every 50 ms, a new window each time, as window
// lists see programs come and go; it logs "blink N" every 20th time.
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>
#include <cstdio>

namespace {

class LoggingWindow : public QRasterWindow
{
public:
    explicit LoggingWindow(std::FILE *log) : log_(log)
    {
        settled_.setSingleShot(true);
        settled_.setInterval(200);
        QObject::connect(&settled_, &QTimer::timeout, [this] { write("ready %d %d\n", width(), height()); });
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(QRect(QPoint(), size()), Qt::white); }

    void exposeEvent(QExposeEvent *event) override
    {
        QRasterWindow::exposeEvent(event);
        if (isExposed() && !ready_) {
            ready_ = true;
            settled_.start();
        }
    }

    void resizeEvent(QResizeEvent *event) override
    {
        QRasterWindow::resizeEvent(event);
        if (settled_.isActive())
            settled_.start();
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        const int button = event->button() == Qt::LeftButton ? 1 : event->button() == Qt::MiddleButton ? 2 : 3;
        const QPoint at = event->position().toPoint();
        write("press %d %d %d\n", button, at.x(), at.y());
    }

private:
    template <typename... Args> void write(const char *format, Args... args)
    {
        std::fprintf(log_, format, args...);
        std::fflush(log_);
    }

    std::FILE *log_;
    bool ready_ = false;
    QTimer settled_;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 2;
    std::FILE *log = std::fopen(argv[1], "a");
    if (!log)
        return 1;
    qputenv("QT_QPA_PLATFORM", "wayland");
    QGuiApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tavisk-e2e"));
    LoggingWindow window(log);
    window.setTitle(QString::fromLocal8Bit(argv[2]));
    window.resize(400, 300);
    QTimer blink;
    int blinks = 0;
    if (argc > 3 && qstrcmp(argv[3], "blink") == 0) {
        QObject::connect(&blink, &QTimer::timeout, [&] {
            window.setVisible(!window.isVisible());
            if (++blinks % 20 == 0) {
                std::fprintf(log, "blink %d\n", blinks);
                std::fflush(log);
            }
        });
        blink.start(50);
        window.show();
    } else if (argc > 3 && qstrcmp(argv[3], "normal") == 0) {
        window.show();
    } else {
        window.showMaximized();
    }
    return app.exec();
}
