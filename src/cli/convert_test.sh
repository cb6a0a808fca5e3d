#!/usr/bin/env bash
# siacci-cli convert: the result text of the calculator's conversion keys, and the refusals.
set -u
source "$(dirname "$0")/test_lib.sh"

# The results: two decimals (temperatures one), rounded down, a space before a result that
# is not negative.
expect "inches" 0 $' 25.4\n' convert 0 10
expect "centimetres" 0 $' 0.39\n' convert 1 1
expect "metres to yards" 0 $' 109.44\n' convert 5 100
expect "km to miles, product as written" 0 $' 62.13\n' convert 7 100
expect "grams to grains" 0 $' 38.57\n' convert 9 2.5
expect "decimal comma" 0 $' 38.57\n' convert 9 2,5
expect "kgm to foot pounds" 0 $' 72.33\n' convert 11 10
expect "celsius -40" 0 $'-40\n' convert 12 -40
expect "celsius 100" 0 $' 212\n' convert 12 100
expect "fahrenheit 0" 0 $'-17.8\n' convert 13 0
expect "negative rounds down" 0 $'-0.4\n' convert 1 -1

# Bad usage: a key that does not exist, a value that is no number, a missing value.
expect "key 14" 2 "" convert 14 10
expect_stderr "key 14 message" convert 14 10
expect "key -1" 2 "" convert -1 10
expect "key text" 2 "" convert inches 10
expect "value text" 2 "" convert 0 dieci
expect "value with letters" 2 "" convert 0 10x
expect "empty value" 2 "" convert 0 ""
expect "no value" 2 "" convert 0
expect_stderr "no value message" convert 0
expect "too many" 2 "" convert 0 1 2
# Before, "servono il tasto I e il valore": both were given.
expect_first_line "too many message" \
    "siacci-cli convert: troppi argomenti: servono solo il tasto I e il valore" convert 0 5 6
# The exponent is read as in every other number of the program.
expect "exponent" 0 $' 2540\n' convert 0 1e3
expect "exponent with comma" 0 $' 2540\n' convert 0 1,0E3
expect_message "1e308 is too large a result" "siacci-cli convert: $(
    "$cli" convert 0 1$(printf '0%.0s' {1..307}) 2>&1 | sed 's/^siacci-cli convert: //')" convert 0 1e308
expect "celsius of 1e2" 0 $' 212\n' convert 12 1E2
# A result beyond the range of a number is refused.
expect "too large" 3 "" convert 0 1$(printf '0%.0s' {1..307})
expect_stderr "too large message" convert 0 1$(printf '0%.0s' {1..307})
checks=$((checks + 1))
if ! "$cli" convert --help | grep -q '^Uso: siacci-cli convert I VALUE$'; then
    echo "FAIL help"
    failures=$((failures + 1))
fi

finish
