#!/usr/bin/env bash
# siacci-cli card --at: the solution at one distance, exactly there, and the hold on a reticle.
set -u
source "$(dirname "$0")/test_lib.sh"
cli_words=(card)

T=$'\t'
# The worked example of the point-mass engine: G1 0.4, 800 m/s, zero 220 m, 16 km/h from 3.
shot=(--velocity 800 --bc 0.4 --weight 150 --zero 220 --wind 16 --wind-clock 3)

# At a row's distance the line is the card's row.
row300=$("$cli" card "${shot[@]}" --increment 100 --max 300 | tail -n 1)
expect "at a row of the card" 0 "$row300
" "${shot[@]}" --at 300
# Between rows: the card whose increment lands there.
row287=$("$cli" card "${shot[@]}" --increment 287 --max 287 | tail -n 1)
expect "between rows" 0 "$row287
" "${shot[@]}" --at 287
expect "headings first" 0 "Distanza (m)${T}Velocità (m/s)${T}Mach${T}Tempo (s)${T}Energia (J)${T}Energia (kgm)${T}Traiettoria (cm)${T}Caduta (cm)${T}Deriva (cm)${T}Alzo (MOA)${T}Alzo (mrad)${T}Alzo (click)${T}Deriva (MOA)${T}Deriva (mrad)${T}Deriva (click)
$row300
" "${shot[@]}" --at 300 --headings

json_check "json keys and the wind bracket" "
    const keys = 'distance_m velocity_ms time_s energy_J path_cm drop_cm windage_cm elevation_moa elevation_mrad elevation_clicks windage_moa windage_mrad windage_clicks windage_clicks_minus5 windage_clicks_plus5 lead_cm'.split(' ');
    return keys.every(k => Number.isFinite(c[k])) && c.distance_m === 287 &&
        c.elevation_clicks === 7 && c.windage_clicks === 9 &&
        c.windage_clicks_minus5 === 6 && c.windage_clicks_plus5 === 11 && c.lead_cm === 0 &&
        !('reticle_unit' in c) && c.below_min_energy === false;" "${shot[@]}" --at 287

json_check "lead of a crossing animal" "
    return Math.abs(c.lead_cm - 18 / 3.6 * c.time_s * 100) < 1e-9 && Math.abs(c.lead_bodies * 125 - c.lead_cm) < 1e-9;" \
    "${shot[@]}" --at 150 --animal-speed 18 --animal-length 1.25

# A second-plane Mil-Dot at 8x: each dot covers 10/8 mrad.
json_check "hold on a second-plane Mil-Dot at 8x" "
    return c.reticle_unit === 'mrad' && c.magnification === 8 &&
        Math.abs(c.hold_elevation_reticle - c.elevation_mrad * 0.8) < 1e-9 &&
        Math.abs(c.hold_windage_reticle - c.windage_mrad * 0.8) < 1e-9 &&
        c.hold_text === 'metà sotto, metà a sinistra';" \
    "${shot[@]}" --at 287 --reticle mildot --magnification 8
json_check "first plane: the magnification changes nothing" "
    return Math.abs(c.hold_elevation_reticle - c.elevation_mrad) < 1e-9;" \
    "${shot[@]}" --at 400 --reticle mildot --focal-plane first --magnification 4
json_check "a MOA reticle holds in MOA" "
    return c.reticle_unit === 'moa' && Math.abs(c.hold_elevation_reticle - c.elevation_moa) < 1e-9 &&
        c.hold_text.includes('tacca');" "${shot[@]}" --at 400 --reticle moa
json_check "the user's own marks" "
    return c.reticle_unit === 'moa' && c.hold_text.endsWith('a sinistra');" \
    "${shot[@]}" --at 400 --reticle personalizzato --marks '2 4 8 12' --marks-unit moa

expect_message "distance outside its limits" "Distanza del tiro: deve essere tra 1 e 5000 m" "${shot[@]}" --at 0
expect_message "unknown reticle" "Reticolo sconosciuto: \"crocetta\"" "${shot[@]}" --at 300 --reticle crocetta
expect_message "magnification outside its limits" "Ingrandimento: deve essere tra 1 e 100 ×" \
    "${shot[@]}" --at 300 --reticle mildot --magnification 0
expect "bad focal plane is bad usage" 2 "" "${shot[@]}" --at 300 --reticle mildot --focal-plane third
expect "a distance that is not a number is bad usage" 2 "" "${shot[@]}" --at trecento

finish
