#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# escape_on_x11.sh LUMETTA: real X input (xdotool) during shows with 1.7-second wipes on an X
# server of their own. A looping show with a 1-second slide timer (always due again when a step
# ends) must end on Escape within the running wipe plus 0.5 s, whether Escape comes alone, after
# four Rights, after six wheel notches or after a second of auto-repeated Right; in a manual show
# a burst of four Rights lands on the fourth next slide without a wipe for each. Prints each time.
set -euo pipefail
lumetta=${1:?usage: escape_on_x11.sh LUMETTA}
work=$(mktemp -d)
trap 'kill "${player:-}" "${server:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/x_server.sh"

colours=(red lime blue yellow magenta cyan)
for colour in "${colours[@]}"; do convert -size 640x480 "xc:$colour" "$work/$colour.jpg"; done
# write_show ADVANCE: show.zut, a looping show of the six colours with the wipe only.
write_show() {
  local pictures=() colour
  for colour in "${colours[@]}"; do pictures+=("$work/$colour.jpg"); done
  printf '%s\r\n' "$1" 80 Random "No music" '$00000000_clWhite' Loop Color Tile No No \
    "${pictures[@]}" '[TRANS]' 13 '[MUSIC]' > "$work/show.zut"
}
wipe_ms=1700
limit_ms=$((wipe_ms + 500))

start_x_server -screen 0 1024x768x24
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
xdotool mousemove 512 384

start_show() {
  "$lumetta" --play "$work/show.zut" &
  player=$!
}

# The name of the colour nearest to the screen's centre pixel.
centre_colour() {
  import -window root -crop 1x1+512+384 +repage "$work/centre.png" 2>/dev/null
  local rgb
  rgb=$(convert "$work/centre.png" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
  set -- $rgb
  local name=other
  case "$(( $1 > 200 ))$(( $2 > 200 ))$(( $3 > 200 ))" in
    100) name=red ;; 010) name=lime ;; 001) name=blue ;; 110) name=yellow ;; 101) name=magenta ;; 011) name=cyan ;;
  esac
  echo "$name"
}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

failures=0
# escape_after NAME COMMAND...: runs COMMAND three seconds into a looping show, then presses Escape.
escape_after() {
  local name=$1
  shift
  write_show 1
  start_show
  sleep 3
  "$@"
  local start
  start=$(now_ms)
  xdotool key Escape
  while kill -0 "$player" 2>/dev/null && (( $(now_ms) - start < 30000 )); do sleep 0.05; done
  local took=$(( $(now_ms) - start ))
  if kill -0 "$player" 2>/dev/null; then
    echo "$name: the show did not end within 30 s of Escape"
    kill "$player"
    wait "$player" || true
    failures=$((failures + 1))
    return
  fi
  if ! wait "$player"; then
    echo "$name: the show ended with a failure status"
    failures=$((failures + 1))
    return
  fi
  printf '%s: Escape ended the show after %d.%02d s (at most %d.%d s)\n' "$name" $((took / 1000)) \
    $((took % 1000 / 10)) $((limit_ms / 1000)) $((limit_ms % 1000 / 100))
  if (( took > limit_ms )); then failures=$((failures + 1)); fi
}

hold_right() { xdotool keydown Right; sleep 1; xdotool keyup Right; }

escape_after "Escape alone" true
escape_after "Escape after 4 Rights" xdotool key --delay 40 Right Right Right Right
escape_after "Escape after 6 wheel notches" xdotool click --repeat 6 --delay 40 5
escape_after "Escape after 1 s of auto-repeated Right" hold_right

# A manual show: the first slide, then four Rights at once; the first starts a wipe, the other
# three wait and merge into one more, so the fourth next slide shows after at most two wipes.
write_show Manual
start_show
for _ in $(seq 50); do [ "$(centre_colour)" = red ] && break; sleep 0.1; done
sleep 2
start=$(now_ms)
xdotool key --delay 40 Right Right Right Right
landed=
while (( $(now_ms) - start < 2 * wipe_ms + 1000 )); do
  landed=$(centre_colour)
  [ "$landed" = magenta ] && break
  sleep 0.1
done
took=$(( $(now_ms) - start ))
sleep 2
settled=$(centre_colour)
kill "$player"
wait "$player" || true
if [ "$landed" = magenta ] && [ "$settled" = magenta ]; then
  printf '4 Rights: the fourth next slide after %d.%02d s and no further\n' $((took / 1000)) $((took % 1000 / 10))
else
  echo "4 Rights: $landed after $((took / 1000)) s, then $settled (wanted the fourth next slide, magenta, and no further)"
  failures=$((failures + 1))
fi
exit $(( failures > 0 ))
