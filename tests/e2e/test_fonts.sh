#!/bin/bash
# SPDX-License-Identifier: MIT
# Japanese that renders with nothing but the Japanese font the package depends
# on: the menu and both dialogs, built as the clock builds them, under a
# private fontconfig configuration that offers only that font (and the
# system's font rules), must have a glyph for every caption character. The
# same check without a Japanese font must find the empty boxes, or it proves
# nothing. In a Japanese locale the menu gets the proportional face.
source "$(dirname "$0")/lib.sh" "$1"
PROBE=${TAVISK_FONT_PROBE:?path to font_probe}
start_x 640x480
# No fonts from a user's folders.
export HOME=$E2E_TMP/home XDG_DATA_HOME=$E2E_TMP/home/.local/share
mkdir -p "$HOME"

# probe FONT-DIR [LANG]: runs the probe with only that font directory.
probe() {
    cat >"$E2E_TMP/fonts.conf" <<XML
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$1</dir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
  <cachedir>$E2E_TMP/fontcache</cachedir>
</fontconfig>
XML
    FONTCONFIG_FILE=$E2E_TMP/fonts.conf LANG=${2:-C.UTF-8} LC_ALL= "$PROBE" 2>"$E2E_TMP/probe.err"
}

# Each Japanese font the package accepts that is installed here.
checked=0
for dir in /usr/share/fonts/opentype/ipafont-gothic /usr/share/fonts/truetype/vlgothic \
           /usr/share/fonts/opentype/noto; do
    [ -d "$dir" ] || continue
    out=$(probe "$dir") || fail "boxes with only $dir: $out $(cat "$E2E_TMP/probe.err")"
    pass "only $(basename "$dir"): every caption drawn ($(head -1 <<<"$out"))"
    checked=$((checked + 1))
done
[ "$checked" -gt 0 ] || fail "none of the package's Japanese fonts is installed"

# Without a Japanese font: the kana and kanji have no glyph.
out=$(probe /usr/share/fonts/truetype/dejavu) && fail "no boxes found without a Japanese font: $out"
grep -q "missing in p_alam \"アラーム" <<<"$out" || fail "the probe missed the menu's boxes: $out"
pass "without a Japanese font the probe finds the boxes: $(tail -1 <<<"$out")"

# Japanese locale: fontconfig's choice for the interface is VL Gothic, which
# is fixed-width; the menu must be in VL PGothic.
if [ -d /usr/share/fonts/truetype/vlgothic ]; then
    out=$(probe /usr/share/fonts/truetype/vlgothic ja_JP.UTF-8) || fail "boxes under ja_JP: $out"
    face=$(sed -n 's/^menu face: //p' <<<"$out")
    [[ "$face" == "VL PGothic" || "$face" == "VL Pゴシック" ]] || fail "menu face under ja_JP: $face"
    pass "ja_JP: the menu is in $face"
fi
