#!/usr/bin/env bash
# siacci-cli table --file: a saved shot recomputes the table of its own mode.
set -u
cli=${SIACCI_CLI:?SIACCI_CLI must name the siacci-cli executable}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() { # NAME WANTED GOT
    if [[ $2 != "$3" ]]; then
        echo "FAIL $1"; diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | head -10
        failures=$((failures + 1))
    fi
}

printf '400,"22 LONG RIFLE HIGHT 40 grains",.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n' >"$dir/hight.bal"
check metric-file "$("$cli" table --load cinquesei1:1)" "$("$cli" table --file "$dir/hight.bal")"

# Saved in imperial mode: the values are yards, ft/s and inches, and stay so.
printf '1312,"22 LONG RIFLE HIGHT 40 grains",0.1,40,1.57,70,10,150,15,0,0,0,2,,,,,,,\r\n' >"$dir/imperial.bal"
check imperial-file "$("$cli" table --load cinquesei1:1 --mode imperial)" "$("$cli" table --file "$dir/imperial.bal")"

# A single option overrides the file.
check override 3 "$("$cli" table --file "$dir/hight.bal" --max 20 | wc -l)"

# A file cut short is refused as a whole, with the reason.
printf '400,"22 LONG RIFLE",0.1,40\r\n' >"$dir/short.bal"
"$cli" table --file "$dir/short.bal" >/dev/null 2>&1; check short-status 3 $?
"$cli" table --file "$dir/missing.bal" >/dev/null 2>&1; check missing-status 3 $?

# A FIFO is refused at once instead of waiting for a writer for ever.
mkfifo "$dir/fifo.bal"
timeout 5 "$cli" table --file "$dir/fifo.bal" >/dev/null 2>&1; check fifo-status 3 $?

echo "$failures failed"
[[ $failures -eq 0 ]]
