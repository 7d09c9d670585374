#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it into a scratch
# root and checks what a user would get: its files, its control fields, its
# desktop entry and metainfo, and that the unpacked program starts with a
# fresh home folder and reaches its main menu.
#   tests/package/package_test.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "Skipped: $tool is not installed (scripts/install-deps.sh installs it)."
    exit 77
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The package -----------------------------------------------------------
if ! (cd "$build" && cpack -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack did not build the package"
  exit 1
fi
deb=$(ls "$scratch"/out/quillon_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { cat "$scratch/cpack.log"; echo "FAIL: no quillon_*.deb was made"; exit 1; }
echo "Built $(basename "$deb")"

# Every file in its place, and nothing else: no data file of a practice.
expected=$(cat <<'LIST'
./usr/bin/quillon
./usr/bin/quillon-db
./usr/share/applications/com.brevik.quillon.desktop
./usr/share/doc/quillon/changelog.gz
./usr/share/doc/quillon/copyright
./usr/share/icons/hicolor/128x128/apps/com.brevik.quillon.png
./usr/share/icons/hicolor/16x16/apps/com.brevik.quillon.png
./usr/share/icons/hicolor/22x22/apps/com.brevik.quillon.png
./usr/share/icons/hicolor/24x24/apps/com.brevik.quillon.png
./usr/share/icons/hicolor/256x256/apps/com.brevik.quillon.png
./usr/share/icons/hicolor/32x32/apps/com.brevik.quillon.png
./usr/share/icons/hicolor/48x48/apps/com.brevik.quillon.png
./usr/share/icons/hicolor/64x64/apps/com.brevik.quillon.png
./usr/share/icons/hicolor/scalable/apps/com.brevik.quillon.svg
./usr/share/man/man1/quillon-db.1.gz
./usr/share/man/man1/quillon.1.gz
./usr/share/metainfo/com.brevik.quillon.metainfo.xml
./usr/share/quillon/account1.rpt
./usr/share/quillon/account2.rpt
./usr/share/quillon/account3.rpt
./usr/share/quillon/account4.rpt
./usr/share/quillon/accountnl.rpt
./usr/share/quillon/help/report-layouts.md
./usr/share/quillon/invoice1.rpt
./usr/share/quillon/invoice2.rpt
./usr/share/quillon/invoice3.rpt
./usr/share/quillon/invoice4.rpt
./usr/share/quillon/invoicenl.rpt
LIST
)
actual=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | LC_ALL=C sort)
if [ "$actual" != "$(echo "$expected" | LC_ALL=C sort)" ]; then
  fail "the package's files differ from the expected list:"
  diff <(echo "$expected" | LC_ALL=C sort) <(echo "$actual") | sed 's/^/    /'
fi
if dpkg-deb --fsys-tarfile "$deb" | tar -tv | grep -v '^-rw-r--r-- root/root\|^-rwxr-xr-x root/root\|^drwxr-xr-x root/root'; then
  fail "files above are not owned by root with the usual modes"
fi

# The libraries' packages were computed; the plugins' are named.
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6sql6 libsqlite3-0 libcups2 libqt6sql6-sqlite qt6-qpa-plugins; do
  grep -q "\b$dep\b" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = quillon ] || fail "the package is not named quillon"

# Unpacked -----------------------------------------------------------------
root=$scratch/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/com.brevik.quillon.desktop" ||
  fail "desktop-file-validate refused the desktop entry"
grep -qx 'Categories=Office;MedicalSoftware;' "$root/usr/share/applications/com.brevik.quillon.desktop" ||
  fail "the desktop entry's categories are not Office;MedicalSoftware;"
appstreamcli validate --no-net "$root/usr/share/metainfo/com.brevik.quillon.metainfo.xml" >"$scratch/as.log" 2>&1 ||
  { cat "$scratch/as.log"; fail "appstreamcli refused the metainfo"; }
[ "$(od -An -tu1 -j16 -N8 "$root/usr/share/icons/hicolor/48x48/apps/com.brevik.quillon.png" | tr -s ' ')" = " 0 0 0 48 0 0 0 48" ] ||
  fail "the 48x48 icon is not a 48 by 48 PNG"

# The installed program, started by a user who never ran it, with the
# practice's data folder named: its menu shows, the data is made there and
# nothing is written under the program's own folders.
home=$scratch/home
data=$scratch/practice
mkdir -p "$home"
touch "$scratch/before"
out=$(env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
  ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} \
  timeout 60 "$root/usr/bin/quillon" --data "$data" --smoke 2>"$scratch/run.log")
rc=$?
if [ $rc -ne 0 ] || ! grep -q '^Main menu shown: Main Menu$' <<<"$out"; then
  cat "$scratch/run.log"
  fail "the installed program did not reach its main menu (exit $rc, said: $out)"
fi
grep -qx "Report layout: $root/usr/share/quillon/invoice1.rpt" <<<"$out" ||
  fail "the installed program did not find its installed report layouts (said: $out)"
[ -f "$data/db.mdb" ] || fail "no db.mdb was made in the data folder given with --data"
written=$(find "$root" -newer "$scratch/before" ! -type d)
[ -z "$written" ] || fail "the program wrote under its installed folders: $written"

env -i PATH=/usr/bin:/bin HOME="$home" "$root/usr/bin/quillon-db" >/dev/null 2>"$scratch/db.log"
[ $? -eq 2 ] && grep -q '^usage: quillon-db import' "$scratch/db.log" ||
  fail "quillon-db without arguments did not print its usage"

# Debian's own checks (some seconds; QUILLON_LINTIAN=0 leaves them to
# scripts/package.sh).
if [ "${QUILLON_LINTIAN:-1}" != 0 ]; then
  if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 || fail "lintian reports errors"
    grep -v '^running with root privileges' "$scratch/lintian.log" || true
  else
    echo "lintian is not installed: its checks are skipped (scripts/install-deps.sh installs it)."
  fi
fi

if [ $failures -ne 0 ]; then
  echo "$failures check(s) of the package failed"
  exit 1
fi
echo "The package is sound."
