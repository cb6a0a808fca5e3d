#!/usr/bin/env bash
# siacci-cli card --rifle --load: the card of a rifle and a load of the armoury is the card of
# their values; the powder's temperature moves the velocity; refusals and bad usage.
set -u
source "$(dirname "$0")/test_lib.sh"
cli_words=(card)
armoury=("--armoury" "$SIACCI_TESTDATA/armeria.json")
range=(--max 300 --increment 100)

same() {
    local name=$1
    shift
    local wanted
    wanted=$("$cli" card "$@" "${range[@]}")
    expect "$name" 0 "$wanted"$'\n' --rifle "Sako 85" --load "168 gr Match" "${armoury[@]}" "${range[@]}" "${extra[@]}"
}

extra=()
same same-as-its-values --velocity 800 --bc 0.4 --weight 150 --sight 4.5 --zero 100 --click 0.25moa
# 1 m/s per degree from 15 C: 790 m/s at 5 C.
extra=(--temperature 5)
# The zero stays in the air of the zero (15 C, 1013.25 hPa, dry).
same powder-temperature --velocity 790 --bc 0.4 --weight 150 --sight 4.5 --zero 100 --click 0.25moa \
    --temperature 5 --zero-temperature 15 --zero-pressure 1013.25 --zero-humidity 0
# An option given overrides the armoury's.
extra=(--zero 200)
same option-overrides --velocity 800 --bc 0.4 --weight 150 --sight 4.5 --zero 200 --click 0.25moa
extra=()

table=$(mktemp)
printf '0 0.2\n1 0.4\n3 0.25\n' >"$table"
expect measured-curve 0 "$("$cli" card --drag-table "$table" --velocity 800 --weight 168 --diameter 7.82 \
    --length 31.2 --twist 11 --sight 4.5 --zero 100 --click 0.25moa "${range[@]}")"$'\n' \
    --rifle "Sako 85" --load Radar "${armoury[@]}" "${range[@]}"
rm -f "$table"
# With --at the hold is read on the rifle's own scope; a reticle named by the user stands alone.
scoped=$(mktemp)
sed 's/"zero_m": 100,/"zero_m": 100, "scope": {"reticle": "personalizzato", "focal_plane": "second", "calibrated_magnification": 12, "magnification": 8, "post_tip_moa": 14.5, "custom_marks": [0.5, 1, 2.5], "custom_unit": "moa"},/' \
    "$SIACCI_TESTDATA/armeria.json" >"$scoped"
values=(--velocity 800 --bc 0.4 --weight 150 --sight 4.5 --zero 100 --click 0.25moa --at 250 --format json)
expect rifle-scope 0 "$("$cli" card "${values[@]}" --reticle personalizzato --focal-plane second \
    --calibrated-magnification 12 --magnification 8 --marks "0,5 1 2,5" --marks-unit moa)"$'\n' \
    --rifle "Sako 85" --load "168 gr Match" --armoury "$scoped" --at 250 --format json
expect rifle-scope-magnification 0 "$("$cli" card "${values[@]}" --reticle personalizzato \
    --focal-plane second --calibrated-magnification 12 --magnification 4 --marks "0,5 1 2,5" \
    --marks-unit moa)"$'\n' \
    --rifle "Sako 85" --load "168 gr Match" --armoury "$scoped" --at 250 --format json --magnification 4
expect reticle-of-the-user 0 "$("$cli" card "${values[@]}" --reticle mildot)"$'\n' \
    --rifle "Sako 85" --load "168 gr Match" --armoury "$scoped" --at 250 --format json --reticle mildot
json_check rifle-scope-hold "return c.reticle === 'personalizzato' && c.magnification === 8 &&
    Number.isFinite(c.hold_elevation_reticle);" --rifle "Sako 85" --load "168 gr Match" --armoury "$scoped" --at 250
rm -f "$scoped"
expect_message unknown-rifle $'Nell\'armeria non c\'è l\'arma "Sako".' --rifle Sako --load Radar "${armoury[@]}"
expect_message unknown-load $'L\'arma "Sako 85" non ha la carica "Nessuna".' --rifle "Sako 85" --load Nessuna "${armoury[@]}"
expect unreadable 3 '' --rifle "Sako 85" --load Radar --armoury "$SIACCI_TESTDATA/nessuna-armeria.json"
expect rifle-alone 2 '' --rifle "Sako 85" "${armoury[@]}"
expect armoury-alone 2 '' "${armoury[@]}" --velocity 800 --bc 0.4 --weight 150
expect missing-value 2 '' --rifle "Sako 85" --load
finish
