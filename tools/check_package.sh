#!/usr/bin/env bash
# Checks the Debian package as a user's system would take it: the menu entry and the AppStream
# metadata validate, lintian finds no error, the manual pages render, and the unpacked tree runs
# (fendrel-calc --version, a ballistics run, the workbench started offscreen).
#   tools/check_package.sh build/fendrel_<version>_<arch>.deb
set -uo pipefail
deb=${1:?usage: tools/check_package.sh PACKAGE.deb}
failed=0
fail() { echo "package: $*" >&2; failed=1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "$deb" "$root" || { echo "package: cannot unpack $deb" >&2; exit 1; }
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "the menu entry does not validate"
appstream=$(appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml 2>&1)
if [ $? -ne 0 ] || grep -qE '^[EW]:' <<<"$appstream"; then
  echo "$appstream" >&2
  fail "the AppStream metadata does not validate cleanly"
fi

lint=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v "running with root privileges")
if [ -n "$lint" ]; then echo "$lint"; fi
grep -q '^E:' <<<"$lint" && fail "lintian reports errors"

for page in fendrel fendrel-calc; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
             "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings" >&2; fail "man cannot render $page.1"; }
  MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" | grep -q "$page" ||
    fail "man shows nothing for $page.1"
done

# The unpacked tree runs in place through its relative links.
"$root/usr/bin/fendrel-calc" --version | grep -q '^fendrel-calc ' || fail "fendrel-calc --version"
folder=$scratch/folder
mkdir -p "$folder"
cp -r "$root/usr/lib/fendrel/." "$folder/"
rm -f "$folder/fendrel" "$folder/fendrel-calc"
printf '"Check",".308 Winchester","150",".400",".226","","spitzer","","46","2700","","","","","","","24","8.5"\r\n' \
  >"$folder/rounds.dtb"
if "$root/usr/bin/fendrel-calc" ballistics --round 0 --style-answer 3 --output "$scratch/run.csv" \
     --program-folder "$folder" && grep -q '^Ballistic Efficiency Index' "$scratch/run.csv"; then :
else fail "a ballistics run from the package"; fi
HOME=$scratch/home XDG_DATA_HOME=$scratch/home/.local/share QT_QPA_PLATFORM=offscreen \
  FENDREL_QUIT_WHEN_SHOWN=1 timeout 60 "$root/usr/bin/fendrel" >/dev/null 2>&1 ||
  fail "the workbench does not start from the package"

[ "$failed" = 0 ] && echo "package: every check passed"
exit "$failed"
