#!/usr/bin/env bash
# siacci-cli card, what the range card adds: the Siacci path beside each row, the point-blank
# span and the optimal zero, the energy threshold, and the printed card as a PDF read back with
# pdftotext.
set -u
source "$(dirname "$0")/test_lib.sh"
cli_words=(card)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shot=(--velocity 800 --bc 0.4 --weight 150 --zero 220 --max 300 --increment 100)


# The two methods agree within half a centimetre to 300 m.
json_check "compare adds the Siacci path" "
    return c.rows.length === 4 && c.rows.every(r => Math.abs(r.siacci_path_cm - r.path_cm) < 0.5) &&
        c.rows[0].siacci_path_cm === -4;" "${shot[@]}" --compare

# Zero 220 m and a 20 cm zone: the top (9.7 cm) stays inside, the span runs from the muzzle to
# about 259 m; the best zero lifts the top to 10 cm.
json_check "vital zone and optimal zero" "
    const s = c.summary;
    return s.point_blank_from_m === 0 && Math.abs(s.point_blank_to_m - 259.2) < 1 &&
        s.optimal_zero_m > 220 && s.optimal_zero_m < 226 &&
        s.optimal_point_blank_to_m > s.point_blank_to_m && s.optimal_point_blank_to_m < 264;" \
    "${shot[@]}" --vital-zone 20

json_check "energy above the minimum, interpolated" "
    const r = c.rows, s = c.summary, e = 2000;
    const want = r[2].distance_m + (r[2].energy_J - e) / (r[2].energy_J - r[3].energy_J) * 100;
    return Math.abs(s.energy_above_min_to_m - want) < 1e-6;" "${shot[@]}" --min-energy 2000
json_check "energy never below: the maximum" "return c.summary.energy_above_min_to_m === 300;" \
    "${shot[@]}" --min-energy 100
json_check "energy below at the muzzle: 0" "return c.summary.energy_above_min_to_m === 0;" \
    "${shot[@]}" --min-energy 5000

# The summary is shown in JSON only: in text its options change no row, and --compare, which
# is a column, still adds it (a Siacci path per row: 16 cells).
rows=$("$cli" card "${shot[@]}" --compare --format csv; echo x)
expect "summary options leave the text rows" 0 "${rows%x}" "${shot[@]}" --compare --format csv \
    --vital-zone 20 --min-energy 2000
checks=$((checks + 1))
if [[ $(head -1 <<<"$rows" | tr ',' '\n' | wc -l) != 16 ]]; then
    echo "FAIL compare in text: no Siacci column"
    failures=$((failures + 1))
fi

expect "compare refused for G7" 3 "" "${shot[@]}" --drag G7 --compare
expect_message "compare refused says why" \
    "Confronto con Siacci impossibile: Il metodo di Siacci non tiene conto di G7, tabelle di resistenza, coefficienti a gradini, Coriolis e deriva giroscopica: usa il motore a punto materiale." \
    "${shot[@]}" --drag G7 --compare
expect "vital zone must be positive" 2 "" "${shot[@]}" --vital-zone 0
expect "min energy must be a number" 2 "" "${shot[@]}" --min-energy tanta

# The printed card.
if command -v pdftotext >/dev/null; then
    pdf_text() { pdftotext -layout "$1" - 2>/dev/null | sed -e 's/[[:space:]]\+/ /g'; }
    checks=$((checks + 1))
    if "$cli" card "${shot[@]}" --max 500 --increment 50 --zero 100 --wind 15 --wind-clock 9 \
        --angle -20 --click 0.25moa --min-energy 2000 --vital-zone 12 \
        --description ".308 WINCHESTER 165 grains" --pdf "$work/page.pdf" 2>/dev/null; then
        text=$(pdf_text "$work/page.pdf")
        for wanted in "CARTELLINO DI TIRO" ".308 WINCHESTER 165 grains" "Energia sotto 2000 J oltre" \
            "Tiro utile (zona vitale 12 cm): da 0 a" "Gittata massima:" " 500 " "vento 15 km/h da ore 9"; do
            if ! grep -qF -- "$wanted" <<<"$text"; then
                echo "FAIL full page: no \"$wanted\""
                failures=$((failures + 1))
            fi
        done
    else
        echo "FAIL full page not written"
        failures=$((failures + 1))
    fi
    checks=$((checks + 1))
    if "$cli" card "${shot[@]}" --max 500 --increment 50 --zero 100 --click 0.25moa \
        --pdf "$work/pocket.pdf" --pocket 2>/dev/null; then
        text=$(pdf_text "$work/pocket.pdf")
        # Ten cards to the page, each with its header and its last row.
        n=$(grep -o "taratura 100 m · 1/4 MOA" <<<"$text" | wc -l)
        rows=$(grep -oE "(^| )500 ▲ [0-9]+ ▶ [0-9]+" <<<"$text" | wc -l)
        if [[ $n != 10 || $rows != 10 ]]; then
            echo "FAIL pocket: $n headers, $rows last rows"
            failures=$((failures + 1))
        fi
    else
        echo "FAIL pocket not written"
        failures=$((failures + 1))
    fi
    expect "a directory is not replaced" 3 "" "${shot[@]}" --pdf "$work"
    mkfifo "$work/pipe"
    expect "a pipe is not written" 3 "" "${shot[@]}" --pdf "$work/pipe"
    expect "a refused shot writes no file" 3 "" --velocity 0 --bc 0.4 --weight 150 --pdf "$work/none.pdf"
    checks=$((checks + 1))
    if [[ -e $work/none.pdf ]]; then
        echo "FAIL refused shot left a file"
        failures=$((failures + 1))
    fi
else
    echo "pdftotext is not installed: PDF checks skipped"
fi

finish
