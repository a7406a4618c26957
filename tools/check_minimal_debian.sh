#!/usr/bin/env bash
# Proves the README's set-up on a minimal Debian 12: a fresh clone of this repository, with the
# shared folder beside it, runs ./test.sh as root on a system that has nothing but Debian's
# minimal base (debootstrap --variant=minbase).
#   tools/check_minimal_debian.sh [--screenshots DIR]
# Run as root. The base system is made once and kept in $FENDREL_MINBASE
# (/var/cache/fendrel-minbase by default); every run starts from it clean, through an overlay
# that is thrown away afterwards. Downloaded packages are kept beside the base, so later runs
# install from there. --screenshots DIR also renders every window inside and copies the PNGs to
# DIR, to compare with the same commit rendered on another machine.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
shared="$repo/../shared"
store=${FENDREL_MINBASE:-/var/cache/fendrel-minbase}
suite=bookworm
mirror=http://deb.debian.org/debian
shots=""
if [ "${1:-}" = "--screenshots" ]; then
  shots=${2:?--screenshots needs a folder}
  mkdir -p "$shots"
  shots=$(cd "$shots" && pwd)
elif [ $# -gt 0 ]; then
  echo "usage: tools/check_minimal_debian.sh [--screenshots DIR]" >&2
  exit 2
fi
[ "$(id -u)" = 0 ] || { echo "run as root (debootstrap, mount and chroot need it)" >&2; exit 1; }
[ -d "$shared" ] || { echo "the shared folder is missing beside the repository: $shared" >&2; exit 1; }

if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

# The base: made once, never changed afterwards (every run writes to its own upper layer).
base="$store/rootfs"
if [ ! -f "$store/rootfs.done" ]; then
  rm -rf "$base"
  mkdir -p "$store"
  echo "Making the minimal Debian base in $base"
  debootstrap --variant=minbase "$suite" "$base" "$mirror" >"$store/debootstrap.log" 2>&1 ||
    { tail -n 20 "$store/debootstrap.log" >&2; exit 1; }
  # The suites a freshly installed Debian 12 follows.
  cat >"$base/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb http://deb.debian.org/debian-security $suite-security main
EOF
  rm -f "$base"/var/cache/apt/archives/*.deb
  touch "$store/rootfs.done"
fi
mkdir -p "$store/archives/partial"

run=$(mktemp -d /var/tmp/fendrel-minbase-run.XXXXXX)
root="$run/root"
mounts=()
cleanup() {
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -l "${mounts[i]}" 2>/dev/null || true
  done
  rm -rf "$run"
}
trap cleanup EXIT
mkdir -p "$run/upper" "$run/work" "$root"
mount -t overlay overlay -o "lowerdir=$base,upperdir=$run/upper,workdir=$run/work" "$root"
mounts+=("$root")
for d in proc sys dev dev/pts; do
  mkdir -p "$root/$d"
  mount --bind "/$d" "$root/$d"
  mounts+=("$root/$d")
done
mount --bind "$store/archives" "$root/var/cache/apt/archives"
mounts+=("$root/var/cache/apt/archives")
cp /etc/resolv.conf "$root/etc/resolv.conf"

# A fresh clone of what is committed, with the shared folder beside it, as a new user has them.
mkdir -p "$root/root/fendrel"
git clone -q "$repo" "$root/root/fendrel/main"
cp -a "$shared" "$root/root/fendrel/shared"

echo "Running ./test.sh on minimal Debian ($(git -C "$repo" rev-parse --short HEAD))"
status=0
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  TERM=dumb /bin/bash -c 'cd /root/fendrel/main && ./test.sh' || status=$?
if [ -n "$shots" ] && [ "$status" = 0 ]; then
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    /root/fendrel/main/build/bin/fendrel-screenshots /root/shots >/dev/null || status=$?
  cp "$root"/root/shots/*.png "$shots"/ 2>/dev/null || true
fi
if [ "$status" = 0 ]; then
  echo "minimal Debian: ./test.sh passed"
else
  # What a failure leaves (fuzz findings, test logs) is kept; the rest of the run goes.
  rm -rf "$store/last-failure"
  mkdir -p "$store/last-failure"
  cp -r "$root/root/fendrel/main/build-fuzz/findings" "$store/last-failure/" 2>/dev/null || true
  cp -r "$root/root/fendrel/main/build/Testing" "$store/last-failure/" 2>/dev/null || true
  echo "minimal Debian: ./test.sh failed (exit $status); its findings and logs: $store/last-failure"
fi
exit "$status"
