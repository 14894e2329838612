#pragma once

namespace platform {

// The dialogs were laid out with the Japanese Windows faces "ＭＳ 明朝",
// "ＭＳ Ｐ明朝", "ＭＳ ゴシック" and "ＭＳ Ｐゴシック". Those names mean nothing
// here, so each is made to stand for the matching IPA face (Mincho or Gothic,
// proportional or fixed), with other common Japanese faces behind it.
// Call once, after the application object exists and before any window is built.
void installJapaneseFontStandIns();

} // namespace platform
