#!/usr/bin/env bash
# The release's texts agree: the version of src/common/version.hpp is the one CMake packages,
# the one siacci-cli prints, the changelog's latest entry and the metainfo's latest release (on
# the same day); the changelog is one Debian reads; the desktop entry and the metainfo pass
# their validators; the metainfo's screenshots are pictures of the source tree; the Italian
# manual page holds every command of the tool's help. Run by CTest (release_texts) with
#   SIACCI_CLI SIACCI_PACKAGE_VERSION and the source folder as argument.
set -uo pipefail
src=$1
pkg=$src/packaging
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

version=$(sed -n 's/^#define SIACCI_VERSION "\(.*\)"$/\1/p' "$src/src/common/version.hpp")
[ -n "$version" ] || fail "src/common/version.hpp has no SIACCI_VERSION"
[ "$SIACCI_PACKAGE_VERSION" = "$version" ] ||
  fail "the package's version $SIACCI_PACKAGE_VERSION, version.hpp's $version"
[ "$("$SIACCI_CLI" --version)" = "siacci-cli $version" ] ||
  fail "siacci-cli --version says \"$("$SIACCI_CLI" --version)\", want \"siacci-cli $version\""

# --- changelog ---
changelog=$(grep -v '^#' "$pkg/changelog")
if command -v dpkg-parsechangelog > /dev/null; then
  top=$(dpkg-parsechangelog -l- -S Version <<< "$changelog")
  [ "$top" = "$version" ] || fail "changelog's latest entry is $top, the version $version"
  day=$(date -u -d "$(dpkg-parsechangelog -l- -S Date <<< "$changelog")" +%F)
  [ "$(dpkg-parsechangelog -l- -S Source <<< "$changelog")" = siacci ] || fail "changelog: source is not siacci"
else
  echo "no dpkg-parsechangelog: the changelog's entry not read"
  day=
fi
awk 'length > 80 { printf "FAIL: changelog line %d has %d characters\n", NR, length; bad = 1 }
     END { exit bad }' <<< "$changelog" || failures=$((failures + 1))
# Every version of the metainfo has its changelog entry.
releases=$(sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p' "$pkg/siacci.metainfo.xml")
while read -r v d; do
  grep -q "^siacci ($v) " <<< "$changelog" || fail "metainfo's release $v has no changelog entry"
done <<< "$releases"
read -r meta_version meta_day <<< "$(head -1 <<< "$releases")"
[ "$meta_version" = "$version" ] || fail "metainfo's latest release is $meta_version, the version $version"
[ -z "$day" ] || [ "$meta_day" = "$day" ] ||
  fail "metainfo's release $meta_version is dated $meta_day, the changelog's $day"

# --- metainfo and desktop entry ---
for shot in $(sed -n 's#.*<image>https://[^<]*/docs/\([^</]*\)</image>.*#\1#p' "$pkg/siacci.metainfo.xml"); do
  [ -s "$src/docs/$shot" ] || fail "metainfo's screenshot $shot is not in docs/"
done
grep -q '<screenshot type="default">' "$pkg/siacci.metainfo.xml" || fail "metainfo: no default screenshot"
if command -v appstreamcli > /dev/null; then
  out=$(appstreamcli validate --no-net "$pkg/siacci.metainfo.xml" 2>&1) || fail "appstreamcli validate: $out"
  grep -E '^(E|W):' <<< "$out" && fail "appstreamcli validate warns"
else
  echo "no appstreamcli: the metainfo not validated"
fi
if command -v desktop-file-validate > /dev/null; then
  out=$(desktop-file-validate "$pkg/siacci.desktop" 2>&1 | grep -v ': hint: ')
  [ -z "$out" ] || fail "desktop-file-validate: $out"
else
  echo "no desktop-file-validate: the desktop entry not validated"
fi

# --- the manual page made from the help: every command of this build ---
page=$(dirname "$SIACCI_CLI")/docs/man/it/siacci-cli.1.gz
if [ -f "$page" ]; then
  text=$(zcat "$page")
  for c in $("$SIACCI_CLI" --help | sed -n 's/^  siacci-cli \([a-z][a-z-]*\).*/\1/p'); do
    grep -qx ".SS $c" <<< "$text" || fail "the Italian manual page has no section for $c"
  done
  grep -q "^\.TH SIACCI-CLI \"1\" \"[a-z]* [0-9]*\" \"Siacci $version\"" <<< "$text" ||
    fail "the Italian manual page's heading: $(grep '^\.TH' <<< "$text")"
else
  echo "no manual pages in this build (help2man missing): not checked"
fi

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "release texts OK ($version)"
