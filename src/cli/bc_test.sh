#!/usr/bin/env bash
# siacci-cli bc: the coefficient alone on stdout; refusals on stderr with exit 3; bad usage 2.
set -u
cli=${SIACCI_CLI:?SIACCI_CLI must name the siacci-cli executable}
failures=0
checks=0

# check NAME WANTED_STATUS WANTED_STDOUT WANTED_STDERR ARGS...: status and both streams exactly
# (WANTED_STDERR "*" accepts any text there).
check() {
    local name=$1 status=$2 wanted_out=$3 wanted_err=$4
    shift 4
    local out err rc
    local errfile
    errfile=$(mktemp)
    out=$("$cli" "$@" 2>"$errfile"; echo "x$?")
    rc=${out##*x}
    out=${out%x*}
    err=$(cat "$errfile"; echo x)
    err=${err%x}
    rm -f "$errfile"
    checks=$((checks + 1))
    if [[ $rc != "$status" ]]; then
        echo "FAIL $name: exit $rc, wanted $status"
        failures=$((failures + 1))
    elif [[ $out != "$wanted_out" ]]; then
        echo "FAIL $name: stdout \"$out\", wanted \"$wanted_out\""
        failures=$((failures + 1))
    elif [[ $wanted_err != "*" && $err != "$wanted_err" ]]; then
        echo "FAIL $name: stderr \"$err\", wanted \"$wanted_err\""
        failures=$((failures + 1))
    elif [[ $wanted_err == "*" && -z $err ]]; then
        echo "FAIL $name: nothing on stderr"
        failures=$((failures + 1))
    fi
}

missing='immetti i dati richiesti prima di premere calcola e non inserire come prima velocità un valore inferiore a 100
'
above='Non puoi immettere la seconda velocità ad un valore superiore della prima velocità
'

check worked-example 0 $'0.4\n' '' bc --v1 800 --v2 594 --distance 300
check option-order 0 $'0.4\n' '' bc --distance 300 --v2 594 --v1 800
check band-drop 0 $'0.253\n' '' bc --v1 353 --v2 351 --distance 5
check decimal-comma 0 $'0.399\n' '' bc --v1 800,5 --v2 594 --distance 300
check too-slow 3 '' "$missing" bc --v1 99 --v2 90 --distance 50
check no-distance 3 '' "$missing" bc --v1 800 --v2 594 --distance ''
check faster-later 3 '' "$above" bc --v1 800 --v2 900 --distance 100
check no-band 3 '' '*' bc --v1 1372 --v2 1000 --distance 100
check implausible 3 '' '*' bc --v1 800 --v2 800 --distance 1000
check missing-option 2 '' '*' bc --v1 800 --v2 594
check unknown-option 2 '' '*' bc --v1 800 --v2 594 --distance 300 --bc 0.4
check missing-value 2 '' '*' bc --v1 800 --v2 594 --distance

if ! "$cli" bc --help | grep -q 'coefficiente balistico'; then
    echo "FAIL help: not the Italian help"
    failures=$((failures + 1))
fi

echo "$((checks - failures)) passed, $failures failed"
[[ $failures -eq 0 ]]
