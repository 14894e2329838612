// SPDX-License-Identifier: MIT
#include "wayland/LostConnection.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <unistd.h>

namespace wayland {
namespace {

QtMessageHandler qtHandler = nullptr;
// Between the broken connection and the new one, Qt warns of what it tidies
// up on the way (an event thread that had already ended, the placeholder
// screen that stands in until the new compositor names its outputs): the
// line said before covers them.
bool reconnecting = false;

// Qt tells of a broken connection only in these warnings, just before it
// ends the process or connects anew.
void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("The Wayland connection broke"))) {
        if (qEnvironmentVariableIsSet("QT_WAYLAND_RECONNECT")) {
            std::fputs("tavisk: the Wayland compositor went away; connecting again\n", stderr);
            reconnecting = true;
            return;
        }
        std::fputs("tavisk: the Wayland compositor went away\n", stderr);
        _exit(1);
    }
    if (message.startsWith(QLatin1String("The Wayland connection experienced a fatal error"))) {
        std::fprintf(stderr, "tavisk: %s\n", qPrintable(message));
        _exit(1);
    }
    if (message == QLatin1String("Attempting wayland reconnect"))
        return; // said above
    if (reconnecting && message.startsWith(QLatin1String("Failed to write to the pipe")))
        return;
    if (reconnecting && message.startsWith(QLatin1String("There are no outputs"))) {
        reconnecting = false; // the last of them
        return;
    }
    if (qtHandler)
        qtHandler(type, context, message);
}

} // namespace

void endOnLostConnection() { qtHandler = qInstallMessageHandler(handleMessage); }

} // namespace wayland
