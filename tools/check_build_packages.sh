#!/usr/bin/env bash
# Checks that a fresh machine set up by tools/setup.sh has everything this build used.
#   tools/check_build_packages.sh BUILD_DIR
# It takes every file the build read from the system (the CMake package files configure loaded,
# the headers in the compiler's dependency log, the libraries the programs link), finds the
# Debian package that owns each, and fails, naming the package, unless tools/setup.sh installs
# it, it is in the dependency closure of what setup.sh installs (without recommends or
# suggests), or it is of priority required. A package that only happens to be on this machine
# would make the build work here and fail on a new user's machine.
set -uo pipefail
build=${1:?usage: tools/check_build_packages.sh BUILD_DIR}
build=$(cd "$build" && pwd) || exit 2
top=$(cd "$(dirname "$0")/.." && pwd)
ninja_file="$build/build.ninja"
[ -f "$ninja_file" ] || { echo "no build.ninja in $build" >&2; exit 2; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Files from outside the project: what lies under the source or build folder is our own.
ours() { grep -v -E "^($top|$build)(/|$)" | grep -E '^/'; }

# 1. CMake package files and modules: the files that make configure run again when they change.
awk '/^build build\.ninja:/ { f = 1 } f { print } f && !/\$$/ { exit }' "$ninja_file" |
  tr ' ' '\n' | ours >"$tmp/files"
# 2. Headers, from the compiler's dependency log.
ninja -C "$build" -t deps 2>/dev/null | sed -n 's/^ \+\(\/.*\)$/\1/p' | ours >>"$tmp/files"
# 3. Libraries the programs link, named by path or as -lNAME.
cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
grep -h '^ *LINK_LIBRARIES = ' "$ninja_file" | sed 's/^ *LINK_LIBRARIES = //' | tr ' ' '\n' |
  sort -u >"$tmp/libs"
grep -E '^/' "$tmp/libs" | ours >>"$tmp/files"
for l in $(sed -n 's/^-l\(.*\)$/\1/p' "$tmp/libs"); do
  f=$("${cxx:-c++}" -print-file-name="lib$l.so")
  [ "$f" = "lib$l.so" ] && f=$("${cxx:-c++}" -print-file-name="lib$l.a")
  echo "$f"
done | ours >>"$tmp/files"
sort -u "$tmp/files" -o "$tmp/files"
[ -s "$tmp/files" ] || { echo "found no files the build used: is $build built?" >&2; exit 2; }

# The owning package of each file. dpkg knows a file by the path its package ships, which on a
# merged /usr system may be the /lib form of a /usr/lib path, or the target of a link.
owner() { # reads paths, prints "path<TAB>package" for those dpkg knows
  xargs -r -d '\n' dpkg-query -S 2>/dev/null |
    sed -n 's/^\(.*\): \(\/.*\)$/\2\t\1/p'
}
owner <"$tmp/files" >"$tmp/owned"
cut -f1 "$tmp/owned" | sort -u >"$tmp/known"
comm -23 "$tmp/files" "$tmp/known" >"$tmp/unknown"
: >"$tmp/unowned"
while IFS= read -r f; do
  found=""
  for alt in "$(readlink -f "$f")" "${f#/usr}"; do
    [ -n "$alt" ] && [ "$alt" != "$f" ] || continue
    line=$(printf '%s\n' "$alt" | owner | head -n 1)
    if [ -n "$line" ]; then
      printf '%s\t%s\n' "$f" "${line#*$'\t'}" >>"$tmp/owned"
      found=1
      break
    fi
  done
  [ -n "$found" ] || echo "$f" >>"$tmp/unowned"
done <"$tmp/unknown"

# "pkg1, pkg2" and "pkg:amd64" become one package a line.
cut -f2 "$tmp/owned" | tr ',' '\n' | sed 's/^ *//; s/:.*$//' | sort -u >"$tmp/used"

# What a fresh machine has: setup.sh's packages, all they depend on, and priority required.
"$top/tools/setup.sh" --list >"$tmp/setup" || exit 2
apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
  --no-replaces --no-enhances $(cat "$tmp/setup") 2>/dev/null |
  sed -n 's/^\([^ <][^ ]*\)$/\1/p' | sed 's/:.*$//' >"$tmp/allowed"
cat "$tmp/setup" >>"$tmp/allowed"
dpkg-query -W -f='${Package} ${Priority}\n' | awk '$2 == "required" { print $1 }' >>"$tmp/allowed"
sort -u "$tmp/allowed" -o "$tmp/allowed"

status=0
for p in $(comm -23 "$tmp/used" "$tmp/allowed"); do
  example=$(awk -F'\t' -v p="$p" '$2 ~ "(^|, )" p "(:|,|$)" { print $1; exit }' "$tmp/owned")
  echo "build dependency not installed by tools/setup.sh: $p (for $example)"
  status=1
done
while IFS= read -r f; do
  echo "build dependency that no Debian package provides: $f"
  status=1
done <"$tmp/unowned"
if [ "$status" = 0 ]; then
  echo "build packages: $(wc -l <"$tmp/files") files from $(wc -l <"$tmp/used") packages, all set up by tools/setup.sh"
fi
exit "$status"
