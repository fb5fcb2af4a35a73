#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package build-deb/lumetta_VERSION-1_ARCH.deb and checks it with lintian.
#
# A Release build with Debian's hardening flags (dpkg-buildflags), installed under /usr into a
# staging folder together with the Debian-only files, stripped and packed by dpkg-deb. Library
# dependencies come from dpkg-shlibdeps; what Qt and GStreamer load at run time is declared here.
# Every file time is SOURCE_DATE_EPOCH (the last commit's time unless set), so two builds of one
# commit give the same bytes (scripts/check-reproducible.sh).
#
#   scripts/package.sh [--check-chroot] [--no-lintian]
#     --check-chroot  then install the package into a clean Debian 12 chroot and export a show
#                     there (scripts/check-package.sh; needs network and root)
set -euo pipefail
cd "$(dirname "$0")/.."

check_chroot=0
lintian=1
for argument in "$@"; do
  case "$argument" in
    --check-chroot) check_chroot=1 ;;
    --no-lintian) lintian=0 ;;
    *) echo "usage: $0 [--check-chroot] [--no-lintian]" >&2; exit 2 ;;
  esac
done

scripts/setup.sh
tools=(dpkg-dev lintian)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -ne 0 ] && as_root=(sudo)
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

version=$(sed -n 's/^project(Lumetta VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
revision=1
arch=$(dpkg --print-architecture)
deb=build-deb/lumetta_${version}-${revision}_${arch}.deb

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
# Qt's resource compiler stamps the resources it embeds.
export QT_RCC_SOURCE_DATE_OVERRIDE=$SOURCE_DATE_EPOCH
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads CXXFLAGS and LDFLAGS but not CPPFLAGS, which carries _FORTIFY_SOURCE.
export CXXFLAGS="$CPPFLAGS $CXXFLAGS"

# A fresh configuration each time, so that no cached flag of an earlier build stays.
rm -rf build-deb
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DLUMETTA_TESTS=OFF -DLUMETTA_DEBIAN_PACKAGE=ON
cmake --build build-deb --parallel "$(nproc)"

# Laid out as a source package's build, which is where dpkg-shlibdeps expects the binaries.
package_dir=$PWD/build-deb/package
root=$package_dir/debian/lumetta
DESTDIR=$root cmake --install build-deb

# Stripped as dh_strip strips, without the compiler's notes that name the build.
elf_files=()
while IFS= read -r -d '' file; do
  if [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ]; then
    elf_files+=("${file#"$package_dir"/}")
    strip --remove-section=.comment --remove-section=.note --strip-unneeded "$file"
  fi
done < <(find "$root" -type f -print0)

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod go-w {} +

printf 'Source: lumetta\n\nPackage: lumetta\nArchitecture: any\n' >"$package_dir/debian/control"
shlibs=$(cd "$package_dir" && dpkg-shlibdeps -O "${elf_files[@]}" | sed -n 's/^shlibs:Depends=//p')

# Loaded at run time, so no library dependency names them. Each claimed format fails without
# them: WebP and TIFF (Qt's image plug-ins); Ogg Vorbis, Opus (base), WAV, FLAC, MP3, M4A's
# container (good), AAC and WMA's codecs (libav), WMA's container (ugly), MIDI (bad's FluidSynth
# plug-in and a General MIDI sound font). Qt's platform plug-ins come with libqt6gui6.
runtime="qt6-image-formats-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, \
gstreamer1.0-plugins-ugly, gstreamer1.0-plugins-bad, gstreamer1.0-libav, \
timgm6mb-soundfont | sf2-soundfont-gm"
# The help guide opens in the desktop's browser through xdg-open, else in a window of ours.
recommends="xdg-utils"

installed_size=$(du -sk --apparent-size "$root" | cut -f1)
mkdir -p "$root/DEBIAN"
cat >"$root/DEBIAN/control" <<EOF
Package: lumetta
Version: ${version}-${revision}
Architecture: ${arch}
Maintainer: The Lumetta developers <support@lumetta.sourceforge.io>
Installed-Size: ${installed_size}
Depends: ${shlibs}, ${runtime}
Recommends: ${recommends}
Section: graphics
Priority: optional
Homepage: https://lumetta.sourceforge.io/
Description: slide-show maker with animated transitions
 Lumetta makes slide shows from pictures (JPEG, PNG, HEIC, AVIF, WebP, TIFF,
 GIF and BMP): order them, choose timing, background and caption, pick which
 of 21 animated transitions may be used, add background music and play the
 show full screen.
 .
 Shows are saved as .zut project files, can be built into one self-running
 file and exported as videos (MP4, WebM or Matroska).
EOF
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +

dpkg-deb --root-owner-group -Zxz --build "$root" "$deb"
echo "$deb"

if [ $lintian -eq 1 ]; then
  # Errors and warnings fail the build; the remaining informational tags are listed.
  lintian --display-info --fail-on error,warning "$deb"
fi
if [ $check_chroot -eq 1 ]; then
  scripts/check-package.sh "$deb"
fi
