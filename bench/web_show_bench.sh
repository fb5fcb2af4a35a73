#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The web show measured in Debian's headless Chromium: the page's size before pictures, the time
# from opening a 20-photo page to its first slide, the share of 60 Hz refreshes with a new frame
# in a paced transition, and every catalogue entry's per-frame cost in WebAssembly beside the
# native core (lumetta-fx bench) at 1920x1080. The core is built with -msimd128.
# Usage: bench/web_show_bench.sh [BUILD_DIR] [REPEATS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
repeats=${2:-3}
here=$(cd "$(dirname "$0")" && pwd)
chromium=$(command -v chromium-headless-shell || command -v chromium)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
cd "$work"

show() {  # show NAME PICTURES...
  local name=$1
  shift
  {
    printf '5\r\n90\r\nRandom\r\nNo music\r\n$00100804_$00583018\r\nLoop\r\nColor\r\nTile\r\nclBtnFace\r\nShadow\r\n'
    printf '%s\r\n' "$@" '[TRANS]'
    for e in $(seq 0 20); do printf '%s\r\n' "$e"; done
    printf '[MUSIC]\r\n'
  } > "$name.zut"
  "$build/bin/lumetta" --web "$name.zut" "$name.html" 2> /dev/null
}

convert -size 16x16 xc:'#808080' tiny.png
show empty "$work/tiny.png"
tiny=$(($(base64 -w0 < <(convert tiny.png jpeg:- ) | wc -c)))
echo "page size before pictures: $(($(stat -c %s empty.html) - tiny)) bytes (goal under 400 KB)"

photos=()
for i in $(seq 1 20); do
  convert -size 4000x3000 "gradient:#$(printf '%02x' $((i * 12)))4080-#f0c0$(printf '%02x' $((i * 10)))" \
    -fill white -draw "circle $((i * 150)),1500 $((i * 150 + 300)),1500" -quality 90 "photo$i.jpg"
  photos+=("$work/photo$i.jpg")
done
start=$(date +%s%N)
show photos "${photos[@]}"
echo "20 photos of 4000x3000: page $(($(stat -c %s photos.html) / 1000)) KB, made in $((($(date +%s%N) - start) / 1000000)) ms"

node "$here/web_show_bench.js" "$chromium" photos.html "$work/profile" 1920x1080 "$repeats" > web.json
node -e '
  const r = require("./web.json");
  console.log(`first slide: ${r.firstSlideMs.toFixed(0)} ms after opening (player ready at ${r.readyMs.toFixed(0)} ms; goal under 1000)`);
  const p = r.pace;
  console.log(`paced transition (${p.milliseconds} ms): ${p.frames} new frames in ${p.refreshes} refreshes, ` +
    `${(100 * p.frames / Math.max(1, p.refreshes)).toFixed(0)} % (goal 95 %)`);
  if (r.errors.length) console.log("console errors: " + JSON.stringify(r.errors));'
printf 'no.\tframes\twasm_frame_ms\tnative_frame_ms\tratio\n'
"$build/bin/lumetta-fx" list | while IFS=$'\t' read -r number _ _ _ _; do
  read -r _ _ _ _ _ native _ < <("$build/bin/lumetta-fx" bench --effect "$number" --repeat "$repeats" 2>/dev/null)
  node -e '
    const e = require("./web.json").effects[process.argv[1]], native = Number(process.argv[2]);
    console.log([process.argv[1], e.frameCount, e.frameMs.toFixed(3), native.toFixed(3),
      native > 0 ? (e.frameMs / native).toFixed(2) : "-"].join("\t"));' "$number" "$native"
done
