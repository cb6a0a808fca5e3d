#!/usr/bin/env bash
# siacci-cli table --load: a catalogue bullet as the window sets it, in each mode.
set -u
cli=${SIACCI_CLI:?SIACCI_CLI must name the siacci-cli executable}
failures=0

check() { # NAME WANTED GOT
    if [[ $2 != "$3" ]]; then
        echo "FAIL $1"; diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | head -10
        failures=$((failures + 1))
    fi
}

# "22 LONGRIFLE", "22  HIGHT 40 grains": 400 m/s, zero 70, maximum 150, increment 10.
out=$("$cli" table --load cinquesei1:1)
check longrifle-rows 16 "$(printf '%s\n' "$out" | wc -l)"
check longrifle-first "$(printf '0\t400\t0\t-4\t0\t21\t0\t0')" "$(printf '%s\n' "$out" | head -1)"
check longrifle-last-distance 150 "$(printf '%s\n' "$out" | tail -1 | cut -f1)"

# The same bullet in imperial units: 1312 ft/s and a sight of 1.57 in.
out=$("$cli" table --load cinquesei1:1 --mode imperial)
check longrifle-imperial "$(printf '0\t1312\t0\t-1.57\t0\t153\t0\t0')" "$(printf '%s\n' "$out" | head -1)"

# A terminal load fills the terminal table; a single option still overrides the load.
out=$("$cli" table --load RS38:9)
check rs38-first "$(printf '0\t381\t72.1\t203.8\t38.4\t29.3\t76\t5.1')" "$(printf '%s\n' "$out" | head -1)"
check rs38-rows 16 "$(printf '%s\n' "$out" | wc -l)"
out=$("$cli" table --load RS38:9 --max 20)
check rs38-override 3 "$(printf '%s\n' "$out" | wc -l)"

# Refusals: exit 3 with an Italian message.
err=$("$cli" table --load tre11:11 2>&1 >/dev/null); rc=$?
check bad-button-status 3 "$rc"
check bad-button-message 'La voce "tre11" ha i pulsanti da 1 a 10.' "$err"
err=$("$cli" table --load tre99:1 2>&1 >/dev/null); rc=$?
check unknown-item-status 3 "$rc"
err=$("$cli" table --load pnove9:1 2>&1 >/dev/null); rc=$?
check no-loads 'La voce "pnove9" non ha palle.' "$err"
# Two colons are a wrong form, not an unknown item "tre11:3" as it was reported before.
err=$("$cli" table --load tre11:3:4 2>&1 >/dev/null)
check two-colons 'Indica la palla come VOCE:PULSANTE, per esempio tre11:3.' "$err"

echo "$failures failed"
[[ $failures -eq 0 ]]
