// SPDX-License-Identifier: MIT
#pragma once

namespace compat {

// The dialogs were laid out with the Japanese Windows faces "ＭＳ 明朝",
// "ＭＳ Ｐ明朝", "ＭＳ ゴシック" and "ＭＳ Ｐゴシック". Those names mean nothing
// here, so each is made to stand for the matching face of the Japanese fonts
// Debian has (Mincho or Gothic, proportional or fixed). Where fontconfig
// gives the interface (the menu) a fixed-width Japanese face, as it does in a
// Japanese locale, the interface gets that font's proportional variant.
// Call once, after the application object exists and before any window is built.
void installJapaneseFontStandIns();

} // namespace compat
