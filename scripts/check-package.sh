#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a Lumetta package into a clean Debian 12 chroot with apt (its Depends only, no
# Recommends) and exports there, with no display, a show holding a WebP, a TIFF, a HEIC and an Ogg
# track; then checks that the programs without a display answer as they should. Needs root and
# the network. The base system from debootstrap is kept in build-chroot/base and copied for
# every run, so each run starts clean. The log goes to build-chroot/check.log.
#
#   scripts/check-package.sh build-deb/lumetta_VERSION-1_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 1 ] || { echo "usage: $0 PACKAGE.deb" >&2; exit 2; }
deb=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot)" >&2; exit 1; }

mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
base=build-chroot/base
root=$PWD/build-chroot/run
log=build-chroot/check.log
mkdir -p build-chroot
exec > >(tee "$log") 2>&1

for tool in debootstrap heif-enc ffmpeg ffprobe convert; do
  command -v "$tool" >/dev/null || missing_tools=1
done
if [ -n "${missing_tools:-}" ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    debootstrap libheif-examples ffmpeg imagemagick
fi

if [ ! -x "$base/usr/bin/apt-get" ]; then
  echo "== debootstrap bookworm into $base"
  rm -rf "$base"
  debootstrap --variant=minbase bookworm "$base" "$mirror"
fi

cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
rm -rf "$root"
cp -a "$base" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
in_chroot() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

echo "== apt install $(basename "$deb") (no recommended packages)"
cp "$deb" "$root/tmp/"
in_chroot apt-get update -q
DEBIAN_FRONTEND=noninteractive in_chroot apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")"

echo "== a show of a WebP, a TIFF and a HEIC picture with an Ogg Vorbis track"
show=$root/tmp/show
mkdir -p "$show"
convert -size 640x480 gradient:navy-orange "$show/one.png"
convert -size 480x640 plasma:fractal -seed 7 "$show/two.png" 2>/dev/null || convert -size 480x640 xc:teal "$show/two.png"
convert "$show/one.png" "$show/one.webp"
convert "$show/two.png" -compress lzw "$show/two.tiff"
heif-enc -q 60 -o "$show/three.heic" "$show/one.png" >/dev/null
ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=440:duration=4" -c:a libvorbis "$show/track.ogg"
rm "$show/one.png" "$show/two.png"
printf '%s\r\n' 2 90 Random NoRepeat '$00100804_$00583018' No Color Tile No Shadow \
  /tmp/show/one.webp /tmp/show/two.tiff /tmp/show/three.heic '[TRANS]' 0 '[MUSIC]' /tmp/show/track.ogg \
  >"$show/show.zut"
file "$show"/* || true

failures=0
check() {  # check DESCRIPTION EXPECTED-STATUS EXPECTED-TEXT COMMAND...
  local description=$1 expected=$2 text=$3
  shift 3
  local output status=0
  output=$(in_chroot "$@" 2>&1) || status=$?
  printf '%s\n' "$output" | sed 's/^/    /'
  if [ "$status" -eq "$expected" ] && { [ -z "$text" ] || grep -qF -- "$text" <<<"$output"; }; then
    echo "PASS $description (status $status)"
  else
    echo "FAIL $description (status $status, expected $expected${text:+ and \"$text\"})"
    failures=$((failures + 1))
  fi
}

echo "== runs with no display"
check "lumetta --export" 0 "" lumetta --export /tmp/show/show.zut /tmp/show/show.mp4 --size 320x240 --fps 10
if [ -f "$show/show.mp4" ]; then
  streams=$(ffprobe -v error -show_entries stream=codec_type,codec_name -of csv=p=0 "$show/show.mp4" | tr '\n' ' ')
  duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$show/show.mp4")
  echo "    show.mp4: streams $streams, $duration s"
  case "$streams" in
    *video*audio* | *audio*video*) echo "PASS the video holds pictures and sound" ;;
    *) echo "FAIL the video lacks a stream"; failures=$((failures + 1)) ;;
  esac
else
  echo "FAIL no video written"
  failures=$((failures + 1))
fi
check "lumetta --build" 0 "" lumetta --build /tmp/show/show.zut /tmp/show/built
check "lumetta-fx list" 0 "TBlendTransition" lumetta-fx list
check "lumetta --version" 0 "GPL-3.0-or-later" lumetta --version
check "lumetta (editor)" 1 "cannot open a display" lumetta
check "lumetta --play" 1 "cannot open a display" lumetta --play
check "lumetta --play FILE" 1 "cannot open a display" lumetta --play /tmp/show/show.zut
check "AEXE.tms" 1 "cannot open a display" /usr/libexec/lumetta/AEXE.tms
check "built show" 1 "cannot open a display" /tmp/show/built

echo "== apt remove"
DEBIAN_FRONTEND=noninteractive in_chroot apt-get remove -y -q lumetta >/dev/null
if in_chroot test -e /usr/bin/lumetta; then
  echo "FAIL /usr/bin/lumetta left after removal"
  failures=$((failures + 1))
else
  echo "PASS removed"
fi

if [ $failures -eq 0 ]; then
  echo "== clean-chroot check passed"
else
  echo "== clean-chroot check: $failures failed"
  exit 1
fi
