#!/usr/bin/env bash
# siacci-cli card: the range card of the point-mass and the Siacci engine, its output forms,
# its warnings and its refusals.
set -u
source "$(dirname "$0")/test_lib.sh"
cli_words=(card)

T=$'\t'
CR=$'\r'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The worked example of the point-mass engine: G1 0.4, 800 m/s, zero 220 m, 16 km/h from 3.
shot=(--velocity 800 --bc 0.4 --weight 150 --zero 220 --wind 16 --wind-clock 3)
expect "worked example" 0 "0${T}800${T}2.351${T}0${T}3110${T}317${T}-4${T}0${T}0${T}0${T}0${T}0${T}0${T}0${T}0
500${T}473.2${T}1.39${T}0.815${T}1088${T}111${T}-172.8${T}275.5${T}-84.5${T}11.88${T}3.46${T}35${T}5.81${T}1.69${T}17
1000${T}301.3${T}0.885${T}2.19${T}441${T}45${T}-1536${T}1745.4${T}-417.7${T}52.8${T}15.36${T}154${T}14.36${T}4.18${T}42
" "${shot[@]}" --increment 500

expect "headings, csv, decimal comma, quarter MOA, comma typed in a number" 0 \
"Distanza (m),Velocità (m/s),Mach,Tempo (s),Energia (J),Energia (kgm),Traiettoria (cm),Caduta (cm),Deriva (cm),Alzo (MOA),Alzo (mrad),Alzo (click),Deriva (MOA),Deriva (mrad),Deriva (click)${CR}
0,800,\"2,351\",0,3110,317,-4,0,0,0,0,0,0,0,0${CR}
100,\"726,4\",\"2,135\",\"0,131\",2564,262,\"9,2\",\"8,2\",\"-2,7\",\"-3,15\",\"-0,92\",-13,\"0,95\",\"0,27\",4${CR}
" "${shot[@]}" --bc 0,4 --max 100 --format csv --decimal , --headings --click 0.25moa

# JSON: valid, one row per distance, every key, whole clicks, 0 corrections at the muzzle.
json_check "json rows and keys" "
    const keys = 'distance_m velocity_ms mach time_s energy_J energy_kgm path_cm drop_cm windage_cm elevation_moa elevation_mrad elevation_clicks windage_moa windage_mrad windage_clicks'.split(' ');
    return c.rows.length === 11 && c.rows.every((r, i) => r.distance_m === 100 * i &&
        keys.every(k => Number.isFinite(r[k])) && Object.keys(r).length === keys.length &&
        Number.isInteger(r.elevation_clicks) && Number.isInteger(r.windage_clicks)) &&
        keys.slice(9).every(k => c.rows[0][k] === 0) &&
        Math.abs(c.rows[3].path_cm + 24.64) < 0.2 && Math.abs(c.rows[10].windage_cm + 417.65) < 0.5 &&
        c.summary.bore_elevation_moa > 7 && c.summary.bore_elevation_moa < 7.7 &&
        c.summary.max_ordinate_cm > 9 && c.summary.max_ordinate_distance_m > 100 &&
        !('stability_sg' in c.summary) && c.summary.warnings.length === 0;" "${shot[@]}"

# The card's "Gittata massima": whole metres, a few kilometres for a rifle bullet.
json_check "maximum range" "return Number.isInteger(c.summary.max_range_m) &&
    c.summary.max_range_m > 2500 && c.summary.max_range_m < 6000;" "${shot[@]}"

# Signs: the wind from 3 o'clock pushes left, from 9 right; 45 N firing north the bullet goes
# right; uphill and downhill alike the bullet flies above the level path.
json_check "signs" "return c.rows[5].windage_cm < -80;" "${shot[@]}"
json_check "wind from 9" "return c.rows[5].windage_cm > 80;" --velocity 800 --bc 0.4 --weight 150 \
    --zero 220 --wind 16 --wind-angle 270
json_check "coriolis north" "return c.summary.coriolis && c.rows[10].windage_cm > 8 && c.rows[10].windage_cm < 11;" \
    --velocity 800 --bc 0.4 --weight 150 --latitude 45 --azimuth 0
for angle in 30 -30; do
    json_check "look angle $angle" "return c.rows[8].path_cm > -758 + 100;" "${shot[@]}" --angle "$angle"
done
json_check "spin drift right" "return c.summary.spin_drift && c.summary.stability_sg > 1 && c.rows[10].windage_cm > 20;" \
    --velocity 800 --bc 0.4 --weight 150 --diameter 7.82 --length 30.8 --twist 12

# A twist too slow for the bullet: computed, exit 0, a warning, the factor below 1.
unstable=(--velocity 823 --bc 0.372 --weight 77 --diameter 5.69 --length 25.3 --twist 14 --max 300)
json_check "unstable twist" "return c.summary.stability_sg < 1 && c.summary.warnings.length === 1;" "${unstable[@]}"
expect_stderr "unstable twist warning" "${unstable[@]}"
expect "unstable twist exit" 0 "$("$cli" card "${unstable[@]}" 2>/dev/null)
" "${unstable[@]}"

# A slow bullet that cannot fly the whole table: the rows it reaches, and a warning.
expect_stderr "table cut short" --velocity 200 --bc 0.1 --weight 100 --zero 50 --max 5000 --increment 500
checks=$((checks + 1))
rows=$("$cli" card --velocity 200 --bc 0.1 --weight 100 --zero 50 --max 5000 --increment 500 2>/dev/null | wc -l)
if [[ $rows -lt 2 || $rows -ge 11 ]]; then
    echo "FAIL table cut short: $rows rows"
    failures=$((failures + 1))
fi

# The Siacci engine in the classic table's conditions gives the classic table's path and drift
# (10 mph = 16.0934 km/h from 3 o'clock; the card rounds half away from zero, the table its own
# way: a tenth apart at most).
"$cli" table --velocity 800 --bc 0.4 --weight 150 --sight 4 --zero 220 --increment 25 --max 300 \
    --temperature 15 > "$work/table"
"$cli" card --engine siacci "${shot[@]}" --wind 16.0934 --increment 25 --max 300 > "$work/card"
checks=$((checks + 1))
if ! paste "$work/table" "$work/card" | awk -F'\t' '
        { d = $4 - $15; w = $5 + $17; if (d < 0) d = -d; if (w < 0) w = -w
          if ($1 != $9 || d > 0.1001 || w > 0.1001) bad = 1; n++ }
        END { exit (bad || n != 13) }'; then
    echo "FAIL siacci engine against the classic table"
    paste "$work/table" "$work/card" | head -5
    failures=$((failures + 1))
fi

# A measured drag table: the G7 curve itself, with the diameter that makes the form factor 1,
# flies as G7 with BC = m / d^2 (150 grains, 7.82 mm: 0.2260722).
awk -F'\t' '$1 == "G7" { print $2 " " $3 }' "$(dirname "$0")/../../data/drag-functions.tsv" > "$work/g7.txt"
"$cli" card --velocity 800 --weight 150 --diameter 7.82 --drag-table "$work/g7.txt" > "$work/measured"
"$cli" card --velocity 800 --weight 150 --drag G7 --bc 0.2260722 > "$work/g7"
checks=$((checks + 1))
if [[ $(wc -l < "$work/measured") != 11 ]] || ! cmp -s "$work/measured" "$work/g7"; then
    echo "FAIL drag table flies as its standard function"
    diff "$work/measured" "$work/g7" | head -6
    failures=$((failures + 1))
fi

# Refusals: status 3 and an Italian message.
printf '0.5 0.2\n1.0 0.4 9\n' > "$work/three.txt"
printf '1.0 0.4\n0.5 0.2\n' > "$work/backward.txt"
bullet=(--velocity 800 --bc 0.4 --weight 150)
expect_message "velocity 0" "Velocità: deve essere tra 50 e 2000 m/s." --velocity 0 --bc 0.4 --weight 150
expect "negative bc" 3 "" --velocity 800 --bc -0.4 --weight 150
expect "negative wind" 3 "" --velocity 800 --bc 0.4 --weight 150 --wind -5
expect "humidity" 3 "" "${bullet[@]}" --humidity 101
expect "look angle" 3 "" "${bullet[@]}" --angle -81
expect_message "too many rows" "La tabella avrebbe più di 10.000 righe: aumenta l'incremento." \
    "${bullet[@]}" --max 10000 --increment 1
expect "unreachable zero" 3 "" --velocity 250 --bc 0.15 --weight 158 --zero 3000 --max 3000
expect "drag table of three columns" 3 "" --velocity 800 --weight 150 --diameter 7.82 --drag-table "$work/three.txt"
expect "drag table going back" 3 "" --velocity 800 --weight 150 --diameter 7.82 --drag-table "$work/backward.txt"
expect "drag table missing" 3 "" --velocity 800 --weight 150 --diameter 7.82 --drag-table "$work/none.txt"
for extra in "--drag G7" "--bc-step 0.45@700" "--latitude 45 --azimuth 0" \
             "--diameter 7.82 --length 30.8 --twist 12"; do
    # shellcheck disable=SC2086
    expect "siacci refuses $extra" 3 "" --engine siacci "${bullet[@]}" $extra
done
expect_message "siacci says why" \
    "Il metodo di Siacci non tiene conto di G7, tabelle di resistenza, coefficienti a gradini, Coriolis e deriva giroscopica: usa il motore a punto materiale." \
    --engine siacci "${bullet[@]}" --drag G7

# Bad usage: status 2.
expect "unknown option" 2 "" "${bullet[@]}" --colour
expect "missing value" 2 "" "${bullet[@]}" --wind
expect "not a number" 2 "" "${bullet[@]}" --wind forte
expect "no velocity" 2 "" --bc 0.4 --weight 150
expect "format" 2 "" "${bullet[@]}" --format xml
expect "click" 2 "" "${bullet[@]}" --click 2clicks
expect "clock and angle" 2 "" "${bullet[@]}" --wind 10 --wind-clock 3 --wind-angle 90
expect "pressure and altitude" 2 "" "${bullet[@]}" --pressure 900 --altitude 1000
expect "qnh without altitude" 2 "" "${bullet[@]}" --qnh 1020
expect "latitude alone" 2 "" "${bullet[@]}" --latitude 45
expect "twist alone" 2 "" "${bullet[@]}" --twist 10
checks=$((checks + 1))
if ! "$cli" card --help | grep -q -- '--wind-clock H'; then
    echo "FAIL help"
    failures=$((failures + 1))
fi

finish
