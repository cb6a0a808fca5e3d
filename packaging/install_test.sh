#!/usr/bin/env bash
# Installs the build into a fresh temporary prefix and checks what a user gets there: the
# command-line tool runs from the prefix alone, the desktop entry, the icons and the metainfo
# are in their places. Run by CTest (install_tree) with:
#   CMAKE BUILD_DIR APP_ID BINDIR DATADIR HAVE_GUI (0/1) ICON_SIZES (comma-separated, may be empty)
# Exit 0 passed, 1 failed, 77 skipped (the table subcommand is not in this build).
set -uo pipefail

prefix=$(mktemp -d "${TMPDIR:-/tmp}/siacci-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! "$CMAKE" --install "$BUILD_DIR" --prefix "$prefix" > "$prefix.log" 2>&1; then
  cat "$prefix.log"; rm -f "$prefix.log"
  echo "FAIL: cmake --install"
  exit 1
fi
rm -f "$prefix.log"

cli="$prefix/$BINDIR/siacci-cli"
apps="$prefix/$DATADIR/applications"
icons="$prefix/$DATADIR/icons/hicolor"
desktop="$apps/$APP_ID.desktop"
metainfo="$prefix/$DATADIR/metainfo/$APP_ID.metainfo.xml"

# --- the programs ---
[ -x "$cli" ] || fail "siacci-cli not installed at $cli"
if [ "$HAVE_GUI" = 1 ]; then
  [ -x "$prefix/$BINDIR/siacci" ] || fail "siacci not installed"
else
  [ ! -e "$prefix/$BINDIR/siacci" ] || fail "siacci installed by a build without Qt"
fi

# Run from the prefix with a bare environment: nothing of the build tree may be needed (the
# sanitizers' options alone pass, for the sanitized build).
run_cli() {
  env -i PATH=/usr/bin:/bin LANG=C.UTF-8 ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} \
    ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} "$cli" "$@"
}

help=$(run_cli --help) || fail "siacci-cli --help exited $?"
case "$help" in
  "siacci-cli: le tabelle di tiro di Siacci dalla riga di comando."*) ;;
  *) fail "siacci-cli --help printed: $help" ;;
esac

# --- desktop entry ---
if [ -f "$desktop" ]; then
  grep -qx 'Exec=siacci' "$desktop" || fail "desktop entry: Exec is not siacci"
  grep -qx 'Icon=siacci' "$desktop" || fail "desktop entry: Icon is not siacci"
  grep -qx 'Categories=Science;Education;Utility;' "$desktop" || fail "desktop entry: Categories"
  if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$desktop" | grep -v ': hint: ' | grep . && fail "desktop-file-validate"
  fi
else
  fail "desktop entry not installed at $desktop"
fi

# --- icons ---
[ -s "$icons/scalable/apps/siacci.svg" ] || fail "SVG icon not installed"
grep -q '<svg' "$icons/scalable/apps/siacci.svg" 2>/dev/null || fail "SVG icon is not an SVG"
# A PNG's width and height are the two big-endian 32-bit numbers at bytes 16 to 23.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }'; }
IFS=, read -r -a sizes <<< "${ICON_SIZES:-}"
for size in "${sizes[@]}"; do
  png="$icons/${size}x${size}/apps/siacci.png"
  if [ ! -f "$png" ]; then
    fail "icon ${size}x${size} not installed"
  elif [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
    fail "icon ${size}x${size} is not a PNG"
  elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
    fail "icon ${size}x${size} measures $(png_size "$png")"
  fi
done

# --- metainfo ---
if [ -f "$metainfo" ]; then
  grep -q "<id>$APP_ID</id>" "$metainfo" || fail "metainfo: id is not $APP_ID"
  grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" \
    || fail "metainfo: launchable does not name the desktop entry"
  if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$metainfo" > /dev/null 2>&1 \
      || { appstreamcli validate --no-net "$metainfo"; fail "appstreamcli validate"; }
  fi
else
  fail "metainfo not installed at $metainfo"
fi

# --- documents: copyright always; the changelog and the manual pages where help2man made them ---
doc="$prefix/$DATADIR/doc/siacci"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$doc/copyright" 2>/dev/null || fail "machine-readable copyright not installed at $doc"
if [ -f "$BUILD_DIR/docs/changelog.gz" ]; then
  zcat "$doc/changelog.gz" 2>/dev/null | head -1 | grep -q '^siacci (' || fail "changelog.gz not installed"
  pages=(man1/siacci-cli.1.gz it/man1/siacci-cli.1.gz)
  [ "$HAVE_GUI" = 1 ] && pages+=(man1/siacci.1.gz it/man1/siacci.1.gz man1/siacci-cli-qt.1.gz)
  for page in "${pages[@]}"; do
    zcat "$prefix/$DATADIR/man/$page" 2>/dev/null | grep -q '^\.\(TH\|so\) ' ||
      fail "manual page $page not installed"
  done
fi

# --- a table from the installed tool ---
# The worked metric example: 800 m/s, BC 0.4, 150 grains, sight 4 cm, zero 220 m, every 25 m
# to 300 m, 15 degrees C at sea level.
skipped=0
if grep -q '^  siacci-cli table' <<< "$help"; then
  table=$(run_cli table --velocity 800 --bc 0.4 --weight 150 --sight 4 --zero 220 \
            --increment 25 --max 300 --temperature 15 --altitude 0)
  status=$?
  [ $status -eq 0 ] || fail "siacci-cli table exited $status"
  tab=$'\t'
  expect_line() {
    local n=$1 want=$2 got
    got=$(sed -n "${n}p" <<< "$table")
    [ "$got" = "$want" ] || fail "table line $n: got '$got', want '$want'"
  }
  [ "$(wc -l <<< "$table")" -eq 13 ] || fail "table has $(wc -l <<< "$table") lines, want 13"
  expect_line 1 "0${tab}800${tab}0${tab}-4${tab}0${tab}317${tab}0${tab}0"
  expect_line 5 "100${tab}727${tab}0.131${tab}9.2${tab}2.5${tab}262${tab}8.1${tab}0.5"
  expect_line 13 "300${tab}594${tab}0.435${tab}-24.3${tab}26.7${tab}175${tab}84.2${tab}21.7"
else
  echo "siacci-cli has no table subcommand yet: table not checked"
  skipped=1
fi

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
[ $skipped -eq 1 ] && exit 77
echo "installed tree OK"
