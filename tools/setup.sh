#!/usr/bin/env bash
# Installs what the build and the tests need, when it is missing (Debian 12, as root).
#   tools/setup.sh          install what is missing
#   tools/setup.sh --list   print the packages it installs, one a line, and change nothing
set -euo pipefail

# The compilers (clang builds the fuzz targets; fuzz/run.sh adds the matching libFuzzer
# runtime), Qt with Qt Charts, the test and benchmark libraries, SQLite for the load history,
# chmlib for the help file, Boost.Math for the distributions of the statistics and the tests'
# Student t quantiles, the fonts the screenshots are drawn with, and what the Debian package is
# made and checked with. Qt Charts' CMake files ask for Qt OpenGL's, which its package only
# recommends.
packages=(cmake ninja-build g++ clang
          qt6-base-dev qt6-charts-dev libqt6opengl6-dev
          libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev libchm-dev libboost-math-dev
          fonts-liberation fonts-dejavu-core
          dpkg-dev file lintian desktop-file-utils appstream man-db)
if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The help compiler. Debian ships chmcmd in fp-utils, whose dependencies bring in the whole
# Pascal compiler (about 200 MB); the program itself needs only the C library, so take just
# that one file out of the package.
if ! command -v chmcmd >/dev/null 2>&1; then
  if [ "$(id -u)" != 0 ]; then
    echo "Missing the help compiler chmcmd (run as root to install it)" >&2
    exit 1
  fi
  echo "Installing chmcmd"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  chown _apt "$tmp" 2>/dev/null || true
  if ! (cd "$tmp" && apt-get download -qq fp-utils-3.2.2 >/dev/null 2>&1); then
    apt-get update -qq
    (cd "$tmp" && apt-get download -qq fp-utils-3.2.2 >/dev/null)
  fi
  dpkg-deb -x "$tmp"/fp-utils-3.2.2_*.deb "$tmp/extract"
  install -m 0755 "$tmp/extract/usr/bin/chmcmd-3.2.2" /usr/local/bin/chmcmd
  rm -rf "$tmp"
  trap - EXIT
fi
