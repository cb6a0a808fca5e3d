#!/usr/bin/env bash
# siacci-cli reticle: the list of reticles, the holds of a card's rows and the drawn reticle.
set -u
source "$(dirname "$0")/test_lib.sh"
cli_words=(reticle)

T=$'\t'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shot=(--velocity 800 --bc 0.4 --weight 150 --zero 220 --wind 16 --wind-clock 3)

expect "list" 0 "duplex${T}Duplex${T}moa${T}second${T}10
mildot${T}Mil-Dot${T}mrad${T}second${T}10
mrad${T}MRAD (tacche da 0,5 mrad)${T}mrad${T}first${T}0
moa${T}MOA (tacche da 2 MOA)${T}moa${T}first${T}0
albero${T}Albero di Natale (griglia in mrad)${T}mrad${T}first${T}0
personalizzato${T}Personalizzato${T}mrad${T}second${T}10
" --list

# The holds of every row: the card's corrections in the reticle's marks at that magnification.
rows=$("$cli" reticle mildot "${shot[@]}" --increment 100 --max 500 --magnification 5)
checks=$((checks + 1))
if [[ $(wc -l <<<"$rows") != 5 || $(head -n 1 <<<"$rows" | cut -f1) != 100 ]]; then
    echo "FAIL one line per row past the muzzle"; failures=$((failures + 1))
fi
at500=$("$cli" card "${shot[@]}" --at 500 --reticle mildot --magnification 5 --format json |
        node -e "const c = JSON.parse(require('fs').readFileSync(0, 'utf8'));
                 console.log([String(c.distance_m), c.hold_elevation_reticle.toFixed(2), c.hold_windage_reticle.toFixed(2), c.hold_text].join('\t'))" 2>/dev/null)
checks=$((checks + 1))
if command -v node >/dev/null && [[ $(tail -n 1 <<<"$rows") != "$at500" ]]; then
    echo "FAIL the row's hold is the one of card --at: $(tail -n 1 <<<"$rows") / $at500"; failures=$((failures + 1))
fi

expect "svg written" 0 "" mildot "${shot[@]}" --svg "$work/mildot.svg"
checks=$((checks + 1))
if ! grep -q '<svg' "$work/mildot.svg" || ! grep -q '>300</text>' "$work/mildot.svg"; then
    echo "FAIL the svg holds the reticle and the row marks"; failures=$((failures + 1))
fi
mkdir "$work/folder"
expect_message "svg over a folder refused" \
    "siacci-cli reticle: il file \"$work/folder\" non si scrive (esiste una cartella con questo nome)" mildot "${shot[@]}" --svg "$work/folder"
expect_first_line "no reticle named" "siacci-cli reticle: manca il nome del reticolo" --velocity 800
expect_message "unknown reticle" "Reticolo sconosciuto: \"crocetta\"" crocetta "${shot[@]}"
expect "list takes nothing else" 2 "" --list mildot

finish
