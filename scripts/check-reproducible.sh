#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package twice from the checked-out commit and checks that the two are the
# same bytes. The tree must be clean: what is built is the commit. With --no-ccache the second
# build compiles everything again instead of taking the compiler cache's objects.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "$0: the tree has changes; commit them first" >&2
  exit 1
fi
[ "${1:-}" = --no-ccache ] && second_env=(CCACHE_DISABLE=1) || second_env=()

scripts/package.sh --no-lintian >/dev/null
first=$(ls build-deb/lumetta_*.deb)
mkdir -p build-reproducible
cp "$first" build-reproducible/first.deb
env "${second_env[@]}" scripts/package.sh --no-lintian >/dev/null
cp "$first" build-reproducible/second.deb

if cmp -s build-reproducible/first.deb build-reproducible/second.deb; then
  echo "reproducible: $(basename "$first") $(sha256sum <"$first" | cut -d' ' -f1)"
  exit 0
fi
echo "not reproducible: the two builds of $(git rev-parse --short HEAD) differ" >&2
for n in first second; do
  mkdir -p "build-reproducible/$n"
  dpkg-deb --raw-extract "build-reproducible/$n.deb" "build-reproducible/$n/tree"
  dpkg-deb --contents "build-reproducible/$n.deb" >"build-reproducible/$n/contents"
done
diff build-reproducible/first/contents build-reproducible/second/contents >&2 || true
diff build-reproducible/first/tree/DEBIAN/md5sums build-reproducible/second/tree/DEBIAN/md5sums >&2 || true
exit 1
