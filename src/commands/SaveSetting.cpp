// SPDX-License-Identifier: MIT
#include "commands/SaveSetting.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "compat/MsgBox.h"
#include "compat/SettingsStore.h"
#include "compat/Twips.h"
#include "compat/Version.h"
#include "windowsystem/WindowSystem.h"

using namespace BasTavisk;

namespace {
// A position as a 32-bit float with at most 7 significant digits; in practice
// a whole number of twips. Read back by NumberFromText, which takes only '.'.
QString positionText(double twips) { return QString::number(float(twips), 'g', 7); }
} // namespace

namespace commands {

void SaveSetting()
{
    Form1 *clock = Form1::instance();
    compat::SettingsStore store(kApp);
    store.write(QStringLiteral("Font"), QStringLiteral("Color"), QString::number(gColor));
    store.write(QStringLiteral("Font"), QStringLiteral("Size"), QString::number(gFontSize));
    if (clock) {
        // Where the window is on the screen now, from the window system.
        const QPoint position = windowsystem::current().position(clock);
        store.write(QStringLiteral("Set"), QStringLiteral("Top"), positionText(compat::pixelsToTwipsY(position.y())));
        store.write(QStringLiteral("Set"), QStringLiteral("Left"), positionText(compat::pixelsToTwipsX(position.x())));
    }
    store.write(QStringLiteral("Disp"), QStringLiteral("Sec"), gShowSec ? QStringLiteral("True") : QStringLiteral("False"));
    // The file is replaced whole or not at all, so a failed save loses nothing.
    if (!store.commit())
        compat::MsgBox(QStringLiteral("設定を保存できませんでした。\n保存先: %1\n"
                                        "前回保存した設定はそのまま残っています。")
                             .arg(store.fileName()),
                         QMessageBox::Warning, QString::fromLatin1(compat::version::kProductName));
}

} // namespace commands
