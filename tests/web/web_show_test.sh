#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# web_show_test.sh LUMETTA LUMETTA_FX LAYOUT_REFERENCE CHROMIUM NODE WORK_DIR
# Builds a web show with lumetta --web, drives it in headless Chromium (drive_page.js) and checks:
# every catalogue entry's frames at three points equal lumetta-fx's over the same two composed
# slides, pixel for pixel; the slide rectangles equal the player's at three screen sizes; keys, a
# tap and swipes step the show; no console error and no request leaving the page; an unreadable
# picture is named and left out; a page cut short shows its message. Exit 77 skips (no browser).
set -euo pipefail
lumetta=$1 fx=$2 reference=$3 chromium=$4 node=$5 work=$6
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "$chromium" ] || [ ! -x "$chromium" ] || [ -z "$node" ]; then
  echo "SKIPPED: headless Chromium or Node.js is missing (scripts/setup.sh installs chromium-headless-shell)"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Two pictures of different proportions, and one that is no picture at all.
convert -size 400x300 gradient:'#ff4020-#2040ff' -fill '#ffff00' -draw 'circle 200,150 260,150' wide.png
convert -size 240x400 gradient:'#20c040-#602080' -fill '#ffffff' -draw 'rectangle 40,60 200,120' tall.png
echo 'not a picture' > broken.jpg
{
  printf 'Manual\r\n90\r\nRandom\r\nNo music\r\n$00100804_$00583018\r\nLoop\r\nColor\r\nTile\r\nclBtnFace\r\nShadow\r\n'
  printf '%s\r\n' "$work/wide.png" "$work/broken.jpg" "$work/tall.png" '[TRANS]'
  for e in $(seq 0 20); do printf '%s\r\n' "$e"; done
  printf '[MUSIC]\r\n'
} > show.zut

"$lumetta" --web show.zut show.html 2> web.log || { cat web.log; fail "lumetta --web failed"; }
grep -q 'left out: .*broken.jpg' web.log || fail "the unreadable picture is not named: $(cat web.log)"

"$node" "$here/drive_page.js" "$chromium" show.html page || {
  cat page/failure.txt 2>/dev/null
  exit 1
}

# The frames: lumetta-fx over the page's own two composed slides, with the same clock seed.
read -r seed passes < <("$node" -e '
  const r = require("./page/result.json");
  console.log(r.seed, r.passes.map((p) => `${p.effect}:${p.frameCount}:${p.frames.join(",") || "-"}`).join(" "));')
compared=0
for pass in $passes; do
  IFS=: read -r effect count frames <<< "$pass"
  out=fx-$effect
  args=()
  [ "$frames" != "-" ] && args=(--frames "$frames")
  first=$("$fx" render --effect "$effect" --from "page/effect-$effect-from.png" --to "page/effect-$effect-to.png" \
    --seed "$seed" "${args[@]}" --out "$out" | head -n 1)
  [ "$first" = "frames $count" ] || fail "entry $effect: the page has $count frames, lumetta-fx says '$first'"
  [ "$frames" = "-" ] && continue
  for frame in ${frames//,/ }; do
    name=$(printf 'frame-%05d.png' "$frame")
    differing=$(compare -metric AE "page/effect-$effect-$name" "$out/$name" null: 2>&1 || true)
    [ "$differing" = "0" ] || fail "entry $effect frame $frame: $differing pixels differ"
    compared=$((compared + 1))
  done
done
echo "compared $compared frames"
[ "$compared" -ge 60 ] || fail "only $compared frames were compared"

# The rectangles, against the player's own layout.
"$node" -e '
  for (const l of require("./page/result.json").layouts)
    console.log([...l.screen, ...l.picture].join(" ") + "  " + l.place.picture.join(" ") + "  " +
      (l.place.shadow || [0, 0, 0, 0]).join(" "));' > page-layouts.txt
"$node" -e 'for (const l of require("./page/result.json").layouts) console.log([...l.screen, ...l.picture].join(" "));' |
  "$reference" 90 1 > player-layouts.txt
diff player-layouts.txt page-layouts.txt || fail "slide rectangles differ from the player's"

# Keys and touches; errors and requests.
steps=$("$node" -e 'console.log(JSON.stringify(require("./page/result.json").steps))')
expected='[["start",0],["Right",1],["Left",0],["Enter",1],["Backspace",0],["swipe left",1],["swipe right",0],["tap",1],["resize",1],["Ctrl",false],["Escape",false]]'
[ "$steps" = "$expected" ] || fail "steps: $steps"
problems=$("$node" -e 'const r = require("./page/result.json"); console.log(JSON.stringify([r.errors, r.requests]))')
[ "$problems" = "[[],[]]" ] || fail "console errors, outside requests: $problems"

# A page cut short says so.
head -c "$(($(stat -c %s show.html) / 2))" show.html > cut.html
"$chromium" --headless --no-sandbox --disable-gpu --user-data-dir="$work/profile-cut" --dump-dom \
  "file://$work/cut.html" 2> /dev/null > cut-dom.html
grep -q '<div id="damaged" class="overlay">' cut-dom.html || fail "a page cut short does not show its message"

[ "$failures" -eq 0 ] && echo "web show: all checks passed"
exit $((failures > 0))
