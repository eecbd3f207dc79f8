#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Installs the Debian package into a fresh minimal Debian 12 and uses it there as a user would:
# apt-get install ./nadelix_*.deb pulls in what the package says it needs and nothing from this
# machine, the program's window appears on an X server, the thumbnailer draws an installed
# example, nadelix-katalog writes a catalogue of the examples, and apt-get purge takes every
# file of the package away again.
#
#   tests/install/clean_room.sh [build-dir]
#
# The minimal root (debootstrap --variant=minbase bookworm) and a copy of it with the test's own
# tools (Xvfb, xwininfo) are kept under $NADELIX_CLEAN_ROOM_CACHE (default
# /var/cache/nadelix-clean-room) and made again when older than two weeks or when
# NADELIX_CLEAN_ROOM_REFRESH=1; each run sees them through an overlay that it throws away. Needs root, debootstrap,
# unshare and the Debian mirror; where one of them is missing it says why and exits 0.
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=$(realpath "${1:-${NADELIX_BUILD_DIR:-build}}")
cache=${NADELIX_CLEAN_ROOM_CACHE:-/var/cache/nadelix-clean-room}
suite=bookworm
started=$SECONDS

skip() {
  echo "clean-room install SKIPPED: $*"
  exit 0
}
say() { printf '[%3ds] %s\n' $((SECONDS - started)) "$*"; }

[ "$(id -u)" -eq 0 ] || skip "needs root (debootstrap, chroot and mounts)"
for tool in debootstrap unshare chroot dpkg-deb python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done

# The mirror this machine installs its own packages from, so that the root sees the same
# Debian 12 as the build did.
mirror=${NADELIX_DEBIAN_MIRROR:-}
security=http://deb.debian.org/debian-security
if [ -z "$mirror" ]; then
  uris=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n 's/^URIs:[[:space:]]*//p'
         sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\)[[:space:]]\+bookworm.*/\2/p' \
           /etc/apt/sources.list 2>/dev/null || true)
  mirror=$(grep -m1 '/debian/\?$' <<<"$uris" || true)
  security=$(grep -m1 '/debian-security/\?$' <<<"$uris" || echo "$security")
fi
mirror=${mirror:-http://deb.debian.org/debian}
mirror=${mirror%/}
security=${security%/}
reach=$(python3 - "$mirror/dists/$suite/Release" 2>&1 <<'EOF'
import sys, urllib.request
try:
    urllib.request.urlopen(sys.argv[1], timeout=20).read(64)
except Exception as e:
    sys.exit(str(e))
EOF
) || skip "the Debian mirror $mirror cannot be reached ($reach)"
unshare --mount --pid --fork true 2>/dev/null ||
  skip "no mount and PID namespaces here (unshare), so no root can be used safely"

# in_root [--throwaway DIR] ROOT COMMAND...: runs COMMAND inside ROOT, in mount and PID
# namespaces of its own. /proc, /dev/shm, /dev/pts and apt's package cache (kept between runs,
# so that a cached run downloads only what changed) are mounted there alone, and they vanish
# with the command together with every process it started (Xvfb, the program), whatever
# happens. With --throwaway, ROOT stays untouched: the command sees it through an overlay whose
# changes live in memory and are gone with it; DIR appears in the root as /io.
in_root() {
  local io=-
  if [ "$1" = --throwaway ]; then io=$2; shift 2; fi
  local root=$1
  shift
  unshare --mount --pid --fork sh -euc '
    root=$1 archives=$2 io=$3
    shift 3
    if [ "$io" != - ]; then
      mkdir -p "$io/scratch"
      mount -t tmpfs scratch "$io/scratch"
      mkdir "$io/scratch/upper" "$io/scratch/work" "$io/scratch/root"
      mount -t overlay overlay \
        -o "lowerdir=$root,upperdir=$io/scratch/upper,workdir=$io/scratch/work" "$io/scratch/root"
      root=$io/scratch/root
      mkdir "$root/io"
      mount --bind "$io" "$root/io"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc"
    mount -t tmpfs shm "$root/dev/shm"
    mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
    mount --bind "$archives" "$root/var/cache/apt/archives"
    exec chroot "$root" "$@"' \
    sh "$root" "$cache/archives" "$io" \
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}

# Nothing may still be mounted below a root that is about to be removed.
remove_root() {
  local root=$1
  [ -n "$root" ] && [ -d "$root" ] || return 0
  if awk -v r="$(realpath "$root")/" 'index($2 "/", r) == 1 { found = 1 } END { exit !found }' \
      /proc/mounts; then
    echo "still mounted below $root; leaving it in place" >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}

fresh() { # is the cached root $1 there, made for this mirror and less than 14 days old?
  [ -f "$1/.nadelix-made" ] && [ "$(cat "$1/.nadelix-made")" = "$mirror $suite" ] &&
    [ -z "$(find "$1/.nadelix-made" -mtime +13)" ] && [ "${NADELIX_CLEAN_ROOM_REFRESH:-0}" != 1 ]
}

mkdir -p "$cache" "$cache/archives"
base=$cache/$suite-minbase
tools=$cache/$suite-tools
if ! fresh "$base"; then
  say "making a minimal $suite root from $mirror (once; cached in $base)"
  remove_root "$base.new"
  if ! debootstrap --variant=minbase "$suite" "$base.new" "$mirror" >"$cache/debootstrap.log" 2>&1; then
    tail -5 "$cache/debootstrap.log"
    remove_root "$base.new"
    skip "debootstrap could not make a $suite root (log: $cache/debootstrap.log)"
  fi
  cat >"$base.new/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
EOF
  # The usual guard of a chroot: packages start no services in it.
  printf '#!/bin/sh\nexit 101\n' >"$base.new/usr/sbin/policy-rc.d"
  chmod 755 "$base.new/usr/sbin/policy-rc.d"
  in_root "$base.new" true || { remove_root "$base.new"; skip "cannot chroot into a new root here"; }
  echo "$mirror $suite" >"$base.new/.nadelix-made"
  remove_root "$base"
  mv "$base.new" "$base"
  remove_root "$tools"
fi
if ! fresh "$tools" || [ "$base/.nadelix-made" -nt "$tools/.nadelix-made" ]; then
  say "adding the test's own tools to a copy of it (once; cached in $tools)"
  remove_root "$tools.new"
  cp -a --reflink=auto "$base" "$tools.new"
  in_root "$tools.new" sh -c 'apt-get update -qq &&
    apt-get install -y -qq --no-install-recommends xvfb x11-utils >/dev/null'
  cp "$base/.nadelix-made" "$tools.new/.nadelix-made"
  remove_root "$tools"
  mv "$tools.new" "$tools"
fi

say "building the package"
cmake --build "$build_dir" >/dev/null
rm -f "$build_dir"/nadelix_*.deb
(cd "$build_dir" && cpack >/dev/null)
deb=$(ls "$build_dir"/nadelix_*.deb)

work=$(mktemp -d /var/tmp/nadelix-clean-room.XXXXXX)
trap 'remove_root "$work"' EXIT
chmod 755 "$work" # apt reads the package as its own unprivileged user
cp "$deb" tests/install/clean_room_inside.sh "$work/"
say "installing $(basename "$deb") in a fresh $suite root"
if ! in_root --throwaway "$work" "$tools" bash /io/clean_room_inside.sh "$(basename "$deb")" 2>&1 |
    sed 's/^/  | /'; then
  echo "clean-room install FAILED (see above)"
  exit 1
fi

# The thumbnail was drawn inside the root; its file is checked from here, with python.
python3 - "$work/herz.png" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
assert data[12:16] == b"IHDR", "no IHDR chunk first"
width, height = struct.unpack(">II", data[16:24])
assert max(width, height) == 128 and min(width, height) >= 1, (width, height)
print(f"  thumbnail: PNG {width}x{height}, {len(data)} bytes")
EOF
# So was the catalogue: every example on its page, in the font the package brought.
if command -v pdftotext >/dev/null; then
  text=$(pdftotext "$work/katalog.pdf" -)
  for name in BLUME.PEC BLUME.SEW HERZ.PES KREIS.PES STERN.DST WELLE.PCS; do
    grep -q "$name" <<<"$text" || { echo "katalog.pdf does not show $name"; exit 1; }
  done
  pdffonts "$work/katalog.pdf" | grep -q '^DejaVuSans .* yes ' ||
    { echo "katalog.pdf does not embed DejaVu Sans"; exit 1; }
  echo "  catalogue: $(pdfinfo "$work/katalog.pdf" | sed -n 's/^Pages: *//p') page(s)," \
    "every example named, DejaVu Sans embedded"
fi
say "clean-room install passed"
