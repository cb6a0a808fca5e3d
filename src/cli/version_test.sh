#!/usr/bin/env bash
# siacci-cli --version: the version of src/common/version.hpp, the one the package, the about box
# and the page carry, in the form help2man reads for the manual page ("program version").
set -u
source "$(dirname "$0")/test_lib.sh"

version=$(sed -n 's/^#define SIACCI_VERSION "\(.*\)"$/\1/p' "$(dirname "$0")/../common/version.hpp")
checks=$((checks + 1))
if [[ ! $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "FAIL version.hpp gives no version X.Y.Z: \"$version\""
    failures=$((failures + 1))
fi

expect "--version" 0 "siacci-cli $version
" --version
expect "--version takes nothing after it" 2 "" --version table
checks=$((checks + 1))
if ! "$cli" --help | grep -qx '  siacci-cli --version'; then
    echo "FAIL --help does not list --version"
    failures=$((failures + 1))
fi
finish
