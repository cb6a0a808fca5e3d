#!/usr/bin/env bash
# The plausible limits of the card's numbers (card/input_limits.cpp) through the tool: card and
# true refuse each number past its limit with status 3 and the field and the limit named, and
# take each number at its limit. What used to overflow or print 0 for infinity is among them.
set -u
source "$(dirname "$0")/test_lib.sh"
base=(--velocity 800 --bc 0.4 --weight 150 --max 300 --increment 100)

# option, a value past the limit, a value at the limit, the refusal
while IFS='|' read -r option bad good message; do
  [[ -z $option ]] && continue
  cli_words=(card)
  expect_message "card $option $bad" "$message" "${base[@]}" $option "$bad"
  expect "card $option $bad status" 3 "" "${base[@]}" $option "$bad"
  checks=$((checks + 1))
  if ! "$cli" card "${base[@]}" $option "$good" >/dev/null 2>&1; then
    echo "FAIL card $option $good: refused at the limit"
    failures=$((failures + 1))
  fi
  cli_words=(true --observed-velocity 700@300)
  expect_message "true $option $bad" "$message" "${base[@]}" $option "$bad"
done <<'TABLE'
--velocity|2000.5|2000|Velocità: deve essere tra 50 e 2000 m/s.
--weight|1e308|2000|Peso: deve essere tra 1 e 2000 grains.
--bc|0.005|2|Coefficiente balistico: deve essere tra 0,01 e 2.
--sight|31|30|Altezza dell'ottica: deve essere tra 0 e 30 cm.
--zero|2001|1|Distanza di taratura: deve essere tra 1 e 2000 m.
--temperature|71|-60|Temperatura: deve essere tra -60 e 70 °C.
--pressure|200|1200|Pressione: deve essere tra 300 e 1200 hPa.
--humidity|101|100|Umidità: deve essere tra 0 e 100 %.
--wind|1e308|200|Vento: deve essere tra 0 e 200 km/h.
--wind-clock|1e308|12|Direzione del vento: deve essere tra 0 e 12 ore.
--wind-angle|1e12|-360|Direzione del vento: deve essere tra -360 e 360 gradi.
--angle|81|-80|Angolo di tiro: deve essere tra -80 e 80 gradi.
--click|1e-300mrad|10mrad|Valore del click: deve essere tra 0,01 e 10 mrad.
--click|11moa|0.01moa|Valore del click: deve essere tra 0,01 e 10 MOA.
--click|1000cm|100cm|Valore del click: deve essere tra 0,1 e 100 cm a 100 m.
--bc-step|0.001@600|2@600|Coefficiente di un gradino: deve essere tra 0,01 e 2.
TABLE

cli_words=(true)
expect_message "observed velocity" "Velocità osservata: deve essere tra 50 e 2000 m/s." "${base[@]}" --observed-velocity 1e308@300
expect_message "observed distance" "Distanza osservata: deve essere tra 1 e 5000 m." "${base[@]}" --observed-clicks 3@1e12
expect_message "observed clicks" "Click osservati: deve essere tra -10000 e 10000." "${base[@]}" --observed-clicks 1e300@300

cli_words=(card)
size=(--diameter 7.82 --length 31.2 --twist 11)
expect_message "diameter 1e308" "Diametro: deve essere tra 1 e 30 mm." "${base[@]}" --diameter 1e308 --length 31.2 --twist 11
expect_message "twist 1" "Passo di rigatura: deve essere tra 3 e 60 pollici per giro (negativo per la rigatura sinistrorsa)." \
  "${base[@]}" --diameter 7.82 --length 31.2 --twist -1
expect_message "azimuth 1e12" "Azimut: deve essere tra -360 e 360 gradi." "${base[@]}" --latitude 45 --azimuth 1e12
expect_message "altitude" "Altitudine: deve essere tra -500 e 9000 m." "${base[@]}" --altitude 10000
expect_message "duplicate steps" "Coefficienti a gradini: due gradini partono dalla stessa velocità (600 m/s)." \
  "${base[@]}" --bc-step 0.45@600 --bc-step 0.42@600
expect_message "increment" "Incremento: deve essere tra 0,1 e 10000 m." --velocity 800 --bc 0.4 --weight 150 --increment 0.01
"$cli" card "${base[@]}" "${size[@]}" >/dev/null 2>&1 || { echo "FAIL a sound bullet size"; failures=$((failures + 1)); }
checks=$((checks + 1))

finish
