#!/usr/bin/env bash
# siacci-cli catalogue: the menu items, the loads of an item, and the refusals.
set -u
source "$(dirname "$0")/test_lib.sh"

T=$'\t'

# Without an item: one line per menu item, 123 in all, no header.
listing=$("$cli" catalogue)
checks=$((checks + 1))
if [[ $(printf '%s\n' "$listing" | wc -l) != 123 ]]; then
    echo "FAIL listing: $(printf '%s\n' "$listing" | wc -l) lines, wanted 123"
    failures=$((failures + 1))
fi
first_lines="DATA RIFLE${T}5,6_.224${T}cinquesei1${T}22 LONGRIFLE${T}3
DATA RIFLE${T}5,6_.224${T}cinquesei2${T}HORNETT${T}4"
checks=$((checks + 1))
if [[ $(printf '%s\n' "$listing" | head -2) != "$first_lines" ]]; then
    echo "FAIL listing head"
    failures=$((failures + 1))
fi
wanted_lines=(
    "DATA PISTOL${T}9 mm._.380_.357${T}pnove9${T}35 REMINGTON${T}0"
    "DATA RIFLE${T}6,5 mm._.264${T}seicinque1${T}6,5 X 68 SCHÜLER${T}3"
    "R.I.I.-R.S.P.-P.I.R.${T}${T}RS38b${T}.38''${T}2"
    "R.I.I.-R.S.P.-P.I.R.${T}${T}rr45${T}.45''${T}9"
)
for line in "${wanted_lines[@]}"; do
    checks=$((checks + 1))
    if ! grep -qxF -- "$line" <<<"$listing"; then
        echo "FAIL listing lacks: $line"
        failures=$((failures + 1))
    fi
done
checks=$((checks + 1))
if [[ $(printf '%s\n' "$listing" | tail -1) != "R.I.I.-R.S.P.-P.I.R.${T}${T}rr45${T}.45''${T}9" ]]; then
    echo "FAIL listing does not end with rr45"
    failures=$((failures + 1))
fi

# One item: its loads in button order.
expect cinquesei1 0 "1${T}22  HIGHT 40 grains${T}22 LONG RIFLE HIGHT 40 grains${T}400${T}40${T}0.1
2${T}22  STANDARD 40 grains${T}22 LONG RIFLE STANDARD 40 grains${T}330${T}40${T}0.1
3${T}22  SUBSONIC 40 grains${T}22 LONG RIFLE SUBSONIC 40 grains${T}305${T}40${T}0.1
" catalogue cinquesei1

# A terminal item: the seven terminal coefficients follow; captions keep their trailing blank.
expect rr45 0 "1${T}.45''  170 grains  HI-PRECISION JHP ${T}.45''  170 grains HI-PRECISION JHP ${T}360${T}170${T}0.131${T}11.4${T}-4.76${T}3.521${T}-753.9${T}-0.57${T}0.9${T}0.01
2${T}.45''  185 grains REMINGTON JHP ${T}.45''   185 grains REMINGTON JHP ${T}305${T}185${T}0.147${T}11.4${T}-17875${T}-5.177${T}-9270${T}0.08${T}0.9${T}0.01
3${T}.45''  185 grains WINCHESTER JST ${T}.45'' 185 grains WINCHESTER JST ${T}280${T}185${T}0.15${T}11.4${T}20979${T}-9.01${T}-8676${T}0${T}0.9${T}0.01
4${T}.45''  200 grains SPEER JHP ${T}.45''  200 grains SPEER JHP ${T}300${T}200${T}0.138${T}11.4${T}5877${T}0.2939${T}-2702${T}0.05${T}0.9${T}0.01
5${T}.45''  200 grains SPEER LSW ${T}.45''  200 grains SPEER LSW ${T}219${T}200${T}0.078${T}11.4${T}-4.379${T}2.415${T}87.48${T}0.38${T}0.9${T}0.01
6${T}.45''  225 grains SPEER JHP ${T}.45'' 225 grains SPEER JHP ${T}290${T}225${T}0.169${T}11.4${T}5374${T}0.4833${T}-2527${T}0.98${T}0.9${T}0.01
7${T}.45''  225 grains WINCHESTER LRN ${T}.45'' 225 grains WINCHESTER LRN ${T}265${T}225${T}0.153${T}11.4${T}8.73${T}2.605${T}-237.3${T}-2.63${T}0.9${T}0.01
8${T}.45''  230 grains WINCHESTER FMJ ${T}.45'' 230 grains WINCHESTER FMJ ${T}253${T}230${T}0.165${T}11.4${T}-4.444${T}2.772${T}-536.6${T}-1.12${T}0.9${T}0.01
9${T}.45''  250 grains SPEER LSW ${T}.45''  250 grains SPEER LSW ${T}270${T}250${T}0.117${T}11.4${T}-2.14${T}3.262${T}-421.5${T}-0.03${T}0.9${T}0.01
" catalogue rr45

# The mended coefficient of the rifle 35 Remington flat nose.
checks=$((checks + 1))
if [[ $("$cli" catalogue nove4 | sed -n 7p) != "7${T}220 grains FLAT NOSE${T}35 REMINGTON 220 grains FLAT NOSE${T}557${T}220${T}0.316" ]]; then
    echo "FAIL nove4 button 7"
    failures=$((failures + 1))
fi

# The inert pistol item has no loads; an unknown item is refused; bad usage is bad usage.
expect pnove9 0 "" catalogue pnove9
expect unknown 3 "" catalogue tre22
expect_stderr "unknown message" catalogue tre22
expect "wrong case" 3 "" catalogue TRE11
expect "two items" 2 "" catalogue tre11 tre12
expect_stderr "two items message" catalogue tre11 tre12
expect "unknown option" 2 "" catalogue --json
checks=$((checks + 1))
if ! "$cli" catalogue --help | grep -q '^Uso: siacci-cli catalogue \[VOCE\]$'; then
    echo "FAIL help"
    failures=$((failures + 1))
fi

finish
