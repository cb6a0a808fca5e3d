#!/usr/bin/env bash
# siacci-cli table: the three firing tables, the printed report, the output forms and the
# refusals, compared as text.
set -u
source "$(dirname "$0")/test_lib.sh"
cli_words=(table)

T=$'\t'
CR=$'\r'
shot=(--velocity 800 --bc 0.4 --weight 150 --sight 4 --zero 220 --increment 25 --max 300
      --temperature 15)

expect "metric worked example" 0 "0${T}800${T}0${T}-4${T}0${T}317${T}0${T}0
25${T}781${T}0.032${T}0.8${T}0.1${T}303${T}0.5${T}0
50${T}763${T}0.064${T}4.7${T}0.6${T}289${T}2${T}0
75${T}745${T}0.097${T}7.5${T}1.4${T}275${T}4.5${T}0
100${T}727${T}0.131${T}9.2${T}2.5${T}262${T}8.1${T}0.5
125${T}710${T}0.166${T}9.7${T}4.1${T}250${T}12.9${T}1.8
150${T}693${T}0.201${T}9${T}6.2${T}238${T}18.9${T}3.4
175${T}676${T}0.238${T}7${T}8.6${T}226${T}26.3${T}5.4
200${T}659${T}0.276${T}3.6${T}11.4${T}215${T}35${T}7.8
225${T}642${T}0.314${T}-1.1${T}14.7${T}204${T}45${T}10.6
250${T}626${T}0.353${T}-7.3${T}18.3${T}194${T}56.5${T}13.8
275${T}610${T}0.394${T}-14.9${T}22.2${T}184${T}69.5${T}17.5
300${T}594${T}0.435${T}-24.3${T}26.7${T}175${T}84.2${T}21.7
" "${shot[@]}"

# The field texts are read as the window reads them: a comma is a point.
expect "site angle at altitude" 0 "0${T}800${T}0${T}-4${T}0${T}317${T}0${T}0
100${T}727${T}0.131${T}10.3${T}2.5${T}262${T}8.1${T}0.5
200${T}659${T}0.276${T}7.9${T}11.4${T}215${T}35${T}7.8
300${T}594${T}0.435${T}-13.8${T}26.7${T}175${T}84.2${T}21.7
" "${shot[@]}" --altitude 300 --temperature 5 --increment 100 --max 300 --site-angle 30 --bc 0,4

expect "imperial with headings, csv, decimal comma" 0 ",,Tempo,Variazione,Vento,Energia,Totale,Ordinata${CR}
Distanza,Velocità,Di volo,Dal centro,10/Mph,Foot/,Calo,M.R.T.${CR}
yards,feets/s.,sec,inch.,inch.,pounds,inch,inch${CR}
0,2624,0,\"-1,57\",0,2293,0,0${CR}
100,2406,\"0,119\",\"3,4\",\"0,8\",1928,\"2,7\",\"0,1\"${CR}
200,2199,\"0,25\",\"2,4\",\"3,7\",1610,\"11,4\",\"2,4\"${CR}
300,2002,\"0,392\",\"-5,8\",\"8,7\",1335,\"27,2\",\"6,9\"${CR}
" --mode imperial --velocity 2624 --bc 0.4 --weight 150 --sight 1.57 --zero 240 --increment 100 \
  --max 300 --temperature 15 --headings --format csv --decimal ,

terminal=(--mode terminal --velocity 381 --bc 0.153 --weight 158 --temperature 15 --diameter 9
          --x 2284 --y 1.795 --z -1626 --d 4.07 --rsp 0.9 --pir 0.01)
expect "terminal" 0 "0${T}381${T}72.1${T}203.8${T}38.4${T}29.3${T}76${T}5.1
50${T}339${T}67.4${T}161.3${T}34.1${T}20.8${T}60${T}3.8
100${T}310${T}63.8${T}134.9${T}31${T}16.4${T}50${T}3.1
150${T}289${T}60.9${T}117.2${T}29.3${T}13.8${T}44${T}2.6
" "${terminal[@]}" --increment 50 --max 150
expect "terminal hollow point" 0 "0${T}381${T}72.1${T}203.8${T}57.6${T}29.3${T}76${T}5.1
100${T}310${T}63.8${T}134.9${T}46.6${T}16.4${T}50${T}3.1
" "${terminal[@]}" --increment 100 --max 100 --rsp 1.35

expect "printed report" 0 "        ++++++++++++++-Balistica by Veltra-++++++++++++

     

     ALTITUDINE METRI= 0    TEMPERATURA GRADI= 15    ALTEZZA OTTICA cm.=+ 4 
     CB= 0.4    CENTRO BERSAGLIO METRI= 220    ANGOLO di SITO gradi= 0 

                      Tempo      Variazione    Vento               Totale     Ordinata
 Distanza   Velocità  di volo    dal Centro    16km/h.   Energia   Calo       M.R.T.
 metri      m/sec.    sec.         cm.         cm.       kgm.      cm.        cm.
 0          800       0            -4          0         317       0          0
 300        594       0.435        -24.3       26.7      175       84.2       21.7
" "${shot[@]}" --increment 300 --print

# A light, slow bullet: the screen table stops at the first energy of 0 kgm.
expect "energy stop" 0 "0${T}92${T}0${T}0${T}0${T}1${T}0${T}0
500${T}33${T}6.203${T}-14029.2${T}336.5${T}0${T}14029.2${T}4749.1
" --velocity 92 --bc 0.1 --weight 30 --increment 500 --max 5000 --temperature 15

# Refusals: status 3 and an Italian message; bad usage: status 2.
expect "velocity too high" 3 "" --velocity 1372 --bc 0.4 --increment 25
expect_message "velocity message" \
    "Velocità fuori dai limiti del programma: imposta una velocità da 92 a 1.371 metri/sec." \
    --velocity 1372 --bc 0.4 --increment 25
expect "imperial 4500 fps" 3 "" --mode imperial --velocity 4500 --bc 0.4 --increment 25
expect "empty window" 3 ""
expect "negative increment" 3 "" --velocity 800 --bc 0.4 --increment -25
expect_message "too many rows" "La tabella avrebbe più di 10.000 righe: aumenta l'incremento." \
    --velocity 800 --bc 0.4 --increment 0.01 --max 1000
expect "terminal without diameter" 3 "" --mode terminal --velocity 381 --bc 0.153 --weight 158 \
    --increment 10
# Conditions the engine's formulas do not hold for: refused, the limits named.
expect "altitude 20000 m" 3 "" "${shot[@]}" --altitude 20000
expect_message "altitude message" \
    "Altitudine fuori dai limiti del programma: imposta un'altitudine da -500 a 9.000 metri." \
    "${shot[@]}" --altitude 9000.5
expect_message "temperature message" \
    "Temperatura fuori dai limiti del programma: imposta una temperatura da -60 a +60 gradi." \
    --mode imperial --velocity 2624 --bc 0.4 --increment 25 --temperature -273.15
expect_message "negative coefficient" "Il coefficiente balistico non può essere negativo." \
    --mode terminal --velocity 381 --bc -0.153 --weight 158 --diameter 9 --increment 10
expect "at the limits" 0 "0${T}800${T}0${T}-4${T}0${T}317${T}0${T}0
" "${shot[@]}" --max 0 --altitude 9000 --temperature -60
# A table that could not be written (a full disk) is a failure, not a success.
if [[ -w /dev/full ]]; then
    checks=$((checks + 1))
    message=$("$cli" table "${shot[@]}" 2>&1 >/dev/full)
    status=$?
    if [[ $status != 3 || $message != "siacci-cli: impossibile scrivere il risultato: il disco è pieno" ]]; then
        echo "FAIL full disk: exit $status, \"$message\""
        failures=$((failures + 1))
    fi
fi
# A separator that is not one printable character would split or garble the cells.
expect "tab as separator" 2 "" "${shot[@]}" --decimal "$T"
expect "newline as separator" 2 "" "${shot[@]}" --decimal $'\n'
expect_first_line "separator message" \
    "siacci-cli table: il separatore decimale è un solo carattere stampabile che non sia una cifra o un segno, come \",\" o \".\"" \
    "${shot[@]}" --decimal ab
# A digit or a sign would make the numbers unreadable.
for sep in 7 - + ' '; do
  expect "separator $sep" 2 "" "${shot[@]}" --decimal "$sep"
done
# A velocity of 309 digits is too large, not zero.
expect_message "309 digits" \
    "Velocità fuori dai limiti del programma: imposta una velocità da 92 a 1.371 metri/sec." \
    --velocity "$(printf '9%.0s' {1..309})" --bc 0.4 --increment 25
expect "exponent in an option" 0 "0${T}800${T}0${T}-4${T}0${T}317${T}0${T}0
" "${shot[@]}" --velocity 8E2 --max 0
expect "unknown mode" 2 "" --mode metrico
expect "unknown option" 2 "" --json
expect "missing value" 2 "" --velocity
expect "site angle 20" 2 "" "${shot[@]}" --site-angle 20
expect "format" 2 "" "${shot[@]}" --format xls
checks=$((checks + 1))
if ! "$cli" table --help | grep -q '^  --site-angle N '; then
    echo "FAIL help"
    failures=$((failures + 1))
fi

finish
