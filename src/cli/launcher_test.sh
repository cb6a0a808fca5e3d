#!/usr/bin/env bash
# The tool's two programs: siacci-cli loads no Qt library; what needs Qt it hands to
# siacci-cli-qt beside it, whose output and exit status come back unchanged; without that program
# it says so and refuses.
set -u
source "$(dirname "$0")/test_lib.sh"
qt_tool="$(dirname "$cli")/siacci-cli-qt"
if [[ ! -x $qt_tool ]]; then
    echo "siacci-cli-qt not built (no Qt): skipped"
    echo "0 passed, 0 failed, 1 skipped"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

checks=$((checks + 1))
if command -v ldd >/dev/null && ldd "$cli" | grep -q 'libQt'; then
    echo "FAIL siacci-cli links Qt: $(ldd "$cli" | grep libQt | tr -s ' \t' ' ')"
    failures=$((failures + 1))
fi

# The same text and status from either program, for what each hands over or keeps.
same_as_qt_tool() {
    local name=$1
    shift
    local a b
    a=$("$cli" "$@" 2>&1; echo "x$?")
    b=$("$qt_tool" "$@" 2>&1; echo "x$?")
    checks=$((checks + 1))
    if [[ $a != "$b" ]]; then
        echo "FAIL $name: siacci-cli and siacci-cli-qt differ"
        diff <(printf '%s' "$b") <(printf '%s' "$a") | head -10
        failures=$((failures + 1))
    fi
}
same_as_qt_tool "help" --help
same_as_qt_tool "no arguments"
same_as_qt_tool "unknown command" nessuno
same_as_qt_tool "pdf help" pdf --help
same_as_qt_tool "pdf without a file" pdf --velocity 800 --bc 0.4
same_as_qt_tool "card kept" card --velocity 800 --bc 0.4 --weight 150 --max 300 --increment 100
same_as_qt_tool "card from an armoury that is not there" card --rifle A --load B --armoury "$work/none.json"
same_as_qt_tool "table kept" table --velocity 800 --bc 0.4 --zero 200 --max 500 --increment 100

# Alone in a folder, siacci-cli still does its own commands and refuses the rest.
cp "$cli" "$work/siacci-cli"
cli="$work/siacci-cli"
expect "card without siacci-cli-qt" 0 "$("$qt_tool" card --velocity 800 --bc 0.4 --weight 150 --max 100)
" card --velocity 800 --bc 0.4 --weight 150 --max 100
expect "pdf without siacci-cli-qt" 3 "" pdf --velocity 800 --bc 0.4 --pdf "$work/a.pdf"
expect_first_line "its message" \
    "siacci-cli: per questo comando serve siacci-cli-qt, che non si trova accanto al programma ($work/siacci-cli-qt)" \
    pdf --velocity 800 --bc 0.4 --pdf "$work/a.pdf"
finish
