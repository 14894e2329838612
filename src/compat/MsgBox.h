// SPDX-License-Identifier: MIT
#pragma once
#include <QMessageBox>
#include <QString>

namespace compat {

// The system message box: text, a single OK button, an icon (or none) and a
// title. It waits until the user closes it; timers keep firing meanwhile.
void MsgBox(const QString &text, QMessageBox::Icon icon, const QString &title);

} // namespace compat
