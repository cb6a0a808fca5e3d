# Helpers of the siacci-cli test scripts, sourced after `set -u`:
#     source "$(dirname "$0")/test_lib.sh"
# The tool is "$SIACCI_CLI"; every helper counts one check, and `finish` ends the script with
# the closing line "N passed, N failed" and a status that is non-zero on any failure.
cli=${SIACCI_CLI:?SIACCI_CLI must name the siacci-cli executable}
failures=0
checks=0

# The words put before the ARGS of every expect helper: a script about one subcommand
# names it here once (cli_words=(table)).
cli_words=()

# expect NAME WANTED_STATUS WANTED_STDOUT ARGS...: runs the tool, compares status and stdout.
expect() {
    local name=$1 status=$2 wanted=$3
    shift 3
    local got rc
    # The x keeps the trailing newlines (and a leading space) that command substitution would
    # otherwise drop.
    got=$("$cli" "${cli_words[@]}" "$@" 2>/dev/null; echo "x$?")
    rc=${got##*x}
    got=${got%x*}
    checks=$((checks + 1))
    if [[ $rc != "$status" ]]; then
        echo "FAIL $name: exit $rc, wanted $status"
        failures=$((failures + 1))
    elif [[ $got != "$wanted" ]]; then
        echo "FAIL $name: output differs"
        diff <(printf '%s' "$wanted" | cat -A) <(printf '%s' "$got" | cat -A) | head -20
        failures=$((failures + 1))
    fi
}

# expect_stderr NAME ARGS...: the refusal says something on stderr.
expect_stderr() {
    local name=$1
    shift
    checks=$((checks + 1))
    if [[ -z $("$cli" "${cli_words[@]}" "$@" 2>&1 >/dev/null) ]]; then
        echo "FAIL $name: nothing on stderr"
        failures=$((failures + 1))
    fi
}

# expect_message NAME WANTED_STDERR ARGS...: the refusal's message, exactly.
expect_message() {
    local name=$1 wanted=$2
    shift 2
    local got
    got=$("$cli" "${cli_words[@]}" "$@" 2>&1 >/dev/null)
    checks=$((checks + 1))
    if [[ $got != "$wanted" ]]; then
        echo "FAIL $name: stderr \"$got\", wanted \"$wanted\""
        failures=$((failures + 1))
    fi
}

# expect_first_line NAME WANTED ARGS...: the first line of the refusal's message (a usage
# text may follow it).
expect_first_line() {
    local name=$1 wanted=$2
    shift 2
    local got
    got=$("$cli" "${cli_words[@]}" "$@" 2>&1 >/dev/null | head -n 1)
    checks=$((checks + 1))
    if [[ $got != "$wanted" ]]; then
        echo "FAIL $name: stderr \"$got\", wanted \"$wanted\""
        failures=$((failures + 1))
    fi
}

# json_check NAME SCRIPT CARD-ARGS...: the card's JSON (c) read by node, SCRIPT a JavaScript body
# returning whether it is right; skipped where node is missing.
json_check() {
    local name=$1 script=$2
    shift 2
    checks=$((checks + 1))
    if ! command -v node >/dev/null; then
        echo "skip $name: no node"
        return
    fi
    if ! "$cli" card "$@" --format json 2>/dev/null | node -e "
        const c = JSON.parse(require('fs').readFileSync(0, 'utf8'));
        const ok = (() => { $script })();
        process.exit(ok ? 0 : 1);"; then
        echo "FAIL $name"
        failures=$((failures + 1))
    fi
}

# The closing line of the script; as its last command, also its exit status.
finish() {
    echo "$((checks - failures)) passed, $failures failed"
    [[ $failures -eq 0 ]]
}
