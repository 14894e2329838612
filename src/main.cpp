// SPDX-License-Identifier: MIT
#include "clock/ClockFont.h"
#include "clock/Form1.h"
#include "compat/JapaneseFonts.h"
#include "compat/Version.h"
#include "windowsystem/WindowSystem.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (!windowsystem::choosePlatform()) {
        std::fputs("tavisk: the clock needs a graphical session (X11 or Wayland)\n", stderr);
        return 1;
    }

    QApplication app(argc, argv);
    // An ordinary Wayland window goes wherever the compositor puts it, uncut
    // and under the user's windows: not a clock.
    if (!windowsystem::canPlaceWindows()) {
        std::fputs("tavisk: this Wayland compositor offers no layer shell to place the clock on; "
                   "start it through XWayland (QT_QPA_PLATFORM=xcb)\n",
                   stderr);
        return 1;
    }
    QApplication::setOrganizationName(QString::fromLatin1(compat::version::kApplicationName));
    QApplication::setApplicationName(QString::fromLatin1(compat::version::kApplicationName));
    QApplication::setApplicationVersion(QString::fromLatin1(compat::version::kVersion));
    // Lets Wayland and the taskbar match our windows to the installed launcher.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(compat::version::kDesktopId));
    // Read as PNG, and only as PNG: left to guess, the image reader would
    // load every image format plugin there is to ask each one.
    QImageReader icon(QStringLiteral(":/tavisk/tavisk-32.png"), "png");
    icon.setAutoDetectImageFormat(false);
    QApplication::setWindowIcon(QPixmap::fromImage(icon.read()));
    // Closing a dialog or the alarm notice never ends the clock; only Exit does.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own texts (the colour dialog, the standard buttons, the text
    // boxes' context menu) in the user's language. The clock's own texts are
    // not translated: they are Japanese whatever the language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    installImpactStandIn();
    compat::installJapaneseFontStandIns();

    Form1 clock;
    if (!clock.Form_Load())
        return 0;
    windowsystem::current().show(&clock);
    windowsystem::restoreEnvironment();
    return app.exec();
}
