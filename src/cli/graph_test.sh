#!/usr/bin/env bash
# siacci-cli graph: the graph's points of the worked example and the refusals, as text.
set -u
source "$(dirname "$0")/test_lib.sh"
cli_words=(graph)

example=(--velocity 800 --bc 0.4 --weight 150 --sight 4 --zero 220 --temperature 15 --altitude 0)

# The origin, the muzzle at minus the sight height, then every 100 m; -2430 at 300 m is the
# path height -24.28 cm rounded to -24.3 cm.
expect worked-example 0 '0 0
0 -400
1000 920
2000 360
3000 -2430
4000 -8050
5000 -17180
6000 -30570
7000 -49560
8000 -75380
9000 -109400
10000 -152640
' "${example[@]}" --increment 100 --max 300

# The maximum distance typed plays no part; a 30 m step ends beyond 1000 m.
got=$("$cli" graph "${example[@]}" --increment 30 --max 90 | tail -n 1)
checks=$((checks + 1))
if [[ ${got%% *} != 10200 ]]; then
    echo "FAIL step-30: last point \"$got\", wanted distance 10200"
    failures=$((failures + 1))
fi

# Steps under about 2 m: the origin and the first 499 points.
got=$("$cli" graph "${example[@]}" --increment 1 2>/dev/null | wc -l)
checks=$((checks + 1))
if [[ $got -ne 500 ]]; then
    echo "FAIL short-step: $got lines, wanted 500"
    failures=$((failures + 1))
fi

expect too-fast 3 '' "${example[@]}" --increment 25 --velocity 1371.1
expect too-slow 3 '' "${example[@]}" --increment 25 --velocity 91.9
expect zero-bc 3 '' "${example[@]}" --increment 25 --bc 0
expect zero-step 3 '' "${example[@]}" --increment 0
expect negative-step 3 '' "${example[@]}" --increment -25
expect_message high-altitude \
    "Altitudine fuori dai limiti del programma: imposta un'altitudine da -500 a 9.000 metri." \
    "${example[@]}" --increment 25 --altitude 12000
expect imperial 3 '' --mode imperial --velocity 2624 --bc 0.4 --increment 25
expect unknown-option 2 '' "${example[@]}" --increment 25 --colour red

message=$("$cli" graph "${example[@]}" --increment 0 2>&1 >/dev/null)
checks=$((checks + 1))
if [[ $message != 'Velocità, coefficiente balistico e incremento devono essere diversi da zero.' ]]; then
    echo "FAIL zero-message: \"$message\""
    failures=$((failures + 1))
fi

finish
