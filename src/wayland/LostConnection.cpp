// SPDX-License-Identifier: MIT
#include "wayland/LostConnection.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <unistd.h>

namespace wayland {
namespace {

QtMessageHandler qtHandler = nullptr;

// Qt tells of a broken connection only in these warnings, just before it
// ends the process or connects anew.
void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("The Wayland connection broke"))) {
        if (qEnvironmentVariableIsSet("QT_WAYLAND_RECONNECT")) {
            std::fputs("tavisk: the Wayland compositor went away; connecting again\n", stderr);
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
    if (qtHandler)
        qtHandler(type, context, message);
}

} // namespace

void endOnLostConnection() { qtHandler = qInstallMessageHandler(handleMessage); }

} // namespace wayland
