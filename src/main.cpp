#include "clock/Form1.h"
#include "platform/TextShape.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    // Placement, shaping and staying on top need X11; under Wayland the clock
    // runs through XWayland when it is there.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tavisk"));
    QApplication::setApplicationName(QStringLiteral("Tavisk"));
    QApplication::setApplicationVersion(QStringLiteral("1.00.0010"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavisk/tavisk-32.png")));
    // Closing a dialog or the alarm notice never ends the clock; only Exit does.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installImpactStandIn();

    Form1 clock;
    if (!clock.Form_Load())
        return 0;
    clock.show();
    return app.exec();
}
