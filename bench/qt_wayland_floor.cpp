// SPDX-License-Identifier: MIT
// The least a Qt Widgets clock can cost as a native Wayland program: a layer
// surface, as the clock is, of the clock's size at 18 pt, showing a bold
// 18 pt time text painted antialiased over a transparent fill, on an 800 ms
// timer that paints it anew when the text has changed, once a second. No
// input region, no settings, no menu. bench/wayland.sh measures it next to
// the clock: what Qt's wayland platform itself costs a program that shows a
// new picture each second.
#include <LayerShellQt/Window>
#include <QApplication>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {
class TimeText : public QWidget
{
public:
    TimeText() : QWidget(nullptr, Qt::FramelessWindowHint)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        resize(113, 25);
    }

    void tick()
    {
        const QString now = QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
        if (now == m_text)
            return;
        m_text = now;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter, m_text);
    }

private:
    QString m_text;
};
} // namespace

int main(int argc, char *argv[])
{
    // As the clock does: no check, 100 ms after each picture, whether the
    // compositor still answers.
    qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "0");
    QApplication app(argc, argv);
    QFont font = app.font();
    font.setPointSize(18);
    font.setBold(true);
    app.setFont(font);
    TimeText window;
    window.tick();
    window.winId();
    auto *layer = LayerShellQt::Window::get(window.windowHandle());
    // Where the clock is, by margins from the output's top-left corner.
    layer->setAnchors(LayerShellQt::Window::Anchors(LayerShellQt::Window::AnchorTop)
                      | LayerShellQt::Window::AnchorLeft);
    layer->setMargins(QMargins(583, 499, 0, 0));
    layer->setExclusiveZone(-1);
    layer->setLayer(LayerShellQt::Window::LayerTop);
    layer->setKeyboardInteractivity(LayerShellQt::Window::KeyboardInteractivityNone);
    layer->setScope(QStringLiteral("qt_wayland_floor"));
    window.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &window, &TimeText::tick);
    timer.start(800);
    return app.exec();
}
