#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the help guide's screenshots from the program itself on a virtual screen (Xvfb): the
# editor with the demo show, the options, the effect selection and a show playing. Writes
# data/help/*.png; run after changing what these windows show. Needs a build (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
program=$root/build/bin/lumetta
demo=$root/build/share/lumetta/demo
out=$root/data/help
[ -x "$program" ] && [ -f "$demo/demo.zut" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }
mkdir -p "$out"

if [ -z "${LUMETTA_ON_XVFB:-}" ]; then
  exec env LUMETTA_ON_XVFB=1 xvfb-run -a -s "-noreset -screen 0 1280x800x24" "$0" "$@"
fi

# The windows show folders and file names: those of a neutral folder, never of this machine's
# checkout or user.
neutral=/tmp/lumetta-help
pictures=$neutral/Pictures/Holiday
config=$neutral/config
rm -rf "$neutral"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$neutral"' EXIT
mkdir -p "$pictures" "$config/Lumetta" "$neutral/home"
cp "$demo"/*.jpg "$pictures/"
sed "s|$demo|$pictures|g" "$demo/demo.zut" > "$pictures/demo.zut"
# A user who worked on the demo show last time, in its folder.
printf 'Pre\r\n%s\r\n' "$pictures/demo.zut" > "$config/Lumetta/SOPT.lst"
printf '%s/\r\n' "$pictures" > "$config/Lumetta/dir.lst"
printf '%s/\r\n' "$pictures" > "$config/Lumetta/dires.lst"
if grep -rqF "$root" "$config" "$pictures/demo.zut"; then
  echo "a path of the checkout would show in the screenshots" >&2
  exit 1
fi

window() {  # the id of the first window with title $1, waiting for it
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "no window \"$1\"" >&2
  exit 1
}
press() {  # window id, keys: the window gets the keyboard first, as no window manager gives it
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  shift
  xdotool key "$@"
}
shoot() {  # window id, file name
  sleep 0.8
  import -window "$1" "$out/$2"
  echo "$out/$2"
}

HOME=$neutral/home XDG_CONFIG_HOME=$config XDG_DATA_HOME=$neutral/home/.local/share \
  XDG_CACHE_HOME=$neutral/home/.cache "$program" --style Fusion &
pid=$!
editor=$(window "^Lumetta XP")
shoot "$editor" editor.png

press "$editor" ctrl+p
options=$(window "^Options$")
shoot "$options" options.png

press "$options" alt+s
selection=$(window '^Select effects$')
shoot "$selection" effect-selection.png
press "$selection" Escape
sleep 0.5
press "$options" Escape
sleep 0.5

# A show in the middle of a transition: slides change every four seconds.
press "$editor" F5
sleep 5.3
import -window root "$out/show.png"
echo "$out/show.png"
xdotool key Escape
sleep 0.5
kill "$pid"
wait "$pid" 2>/dev/null || true

# Nothing of this machine in the pictures' own data either (ImageMagick may add comments).
for shot in "$out"/*.png; do
  if grep -aqF -e "$root" -e "$HOME" "$shot"; then
    echo "$shot holds a path of this machine" >&2
    exit 1
  fi
done
echo "no path of this machine in $out"
