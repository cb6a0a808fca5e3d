#!/usr/bin/env bash
# siacci-cli pdf: the printed report of each table written as a PDF and read back with
# pdftotext: the banner, the inputs, the headings and the last row must be there, on as many
# pages as the report needs; bad usage and refused shots write no file.
set -u
cli=${SIACCI_CLI:?SIACCI_CLI must name the siacci-cli executable}
if ! command -v pdftotext >/dev/null; then
    echo "pdftotext is not installed: skipped"
    echo "0 passed, 0 failed, 1 skipped"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
checks=0

fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}

# pdf_has NAME FILE TEXT...: every TEXT is a line of the PDF's text, blanks squeezed.
pdf_has() {
    local name=$1 file=$2
    shift 2
    checks=$((checks + 1))
    local text
    text=$(pdftotext -layout "$file" - 2>/dev/null | sed -e 's/[[:space:]]\+/ /g' -e 's/^ //' -e 's/ $//')
    for wanted in "$@"; do
        if ! grep -qxF -- "$wanted" <<<"$text"; then
            fail "$name: no line \"$wanted\""
            return
        fi
    done
}

# written NAME FILE ARGS...: the tool exits 0 and writes FILE.
written() {
    local name=$1 file=$2
    shift 2
    checks=$((checks + 1))
    if ! "$cli" pdf "$@" --pdf "$file" 2>"$work/err"; then
        fail "$name: exit status $? ($(cat "$work/err"))"
    elif [[ ! -s $file ]]; then
        fail "$name: no file written"
    elif [[ -s $work/err ]]; then
        fail "$name: unexpected message: $(cat "$work/err")"
    fi
}

# refused NAME STATUS ARGS...: the tool exits STATUS with a message and writes no file.
refused() {
    local name=$1 status=$2
    shift 2
    checks=$((checks + 1))
    rm -f "$work/refused.pdf"
    "$cli" pdf "$@" 2>"$work/err" >/dev/null
    local rc=$?
    if [[ $rc != "$status" ]]; then
        fail "$name: exit $rc, wanted $status"
    elif [[ ! -s $work/err ]]; then
        fail "$name: no message"
    elif [[ -e $work/refused.pdf ]]; then
        fail "$name: a file was written"
    fi
}

banner='++++++++++++++-Balistica by Veltra-++++++++++++'
shot=(--velocity 800 --bc 0.4 --temperature 15 --weight 150 --sight 4 --zero 220)

written metric "$work/metric.pdf" "${shot[@]}" --increment 25 --max 300
pdf_has metric "$work/metric.pdf" "$banner" \
    "ALTITUDINE METRI= 0 TEMPERATURA GRADI= 15 ALTEZZA OTTICA cm.=+ 4" \
    "CB= 0.4 CENTRO BERSAGLIO METRI= 220 ANGOLO di SITO gradi= 0" \
    "Distanza Velocità di volo dal Centro 16km/h. Energia Calo M.R.T." \
    "0 800 0 -4 0 317 0 0" \
    "300 594 0.435 -24.3 26.7 175 84.2 21.7"

written decimal-comma "$work/comma.pdf" "${shot[@]}" --increment 25 --max 300 --decimal ,
pdf_has decimal-comma "$work/comma.pdf" "300 594 0,435 -24,3 26,7 175 84,2 21,7"

written imperial "$work/imperial.pdf" --mode imperial --velocity 2624 --bc 0.4 \
    --temperature 15 --weight 150 --sight 1.57 --zero 240 --increment 25 --max 300
pdf_has imperial "$work/imperial.pdf" "$banner" \
    "yards f/s. sec. inches inches f/pounds inches inches" \
    "0 2624 0 -1.57 0 2293 0 0" \
    "300 2002 0.392 -5.8 8.7 1335 27.2 6.9"

written terminal "$work/terminal.pdf" --mode terminal --velocity 381 --bc 0.153 --weight 158 \
    --temperature 15 --increment 10 --max 150 --diameter 9 --x 2284 --y 1.795 --z -1626 \
    --d 4.07 --rsp 0.9 --pir 0.01
pdf_has terminal "$work/terminal.pdf" "$banner" \
    "Distanza Velocita In Tessuti Molli Energia In Ossa" \
    "0 381 72.1 203.8 38.4 29.3 76 5.1" \
    "150 289 60.9 117.2 29.3 13.8 44 2.6"

# A long table: several pages, each with the column headings, the banner only on the first.
written long "$work/long.pdf" "${shot[@]}" --increment 5 --max 2000
checks=$((checks + 1))
text=$(pdftotext -layout "$work/long.pdf" -)
pages=$(grep -c $'\f' <<<"$text")
headed=$(grep -c 'dal Centro' <<<"$text")
banners=$(grep -c 'Balistica by Veltra' <<<"$text")
if ((pages < 5 || headed != pages || banners != 1)); then
    fail "long: $pages pages, $headed with headings, $banners banners"
fi
pdf_has long "$work/long.pdf" "- 2 -"

# A file that is there is replaced.
written replaced "$work/metric.pdf" "${shot[@]}" --increment 100 --max 500
pdf_has replaced "$work/metric.pdf" "500 478 0.812 -171.8 83.5 113 274.3 79.8"

refused no-file 2 "${shot[@]}" --increment 25 --max 300
refused no-value 2 "${shot[@]}" --increment 25 --pdf
refused bad-decimal 2 "${shot[@]}" --increment 25 --decimal ab --pdf "$work/refused.pdf"
refused zero-increment 3 "${shot[@]}" --pdf "$work/refused.pdf"
refused velocity 3 --velocity 1500 --bc 0.4 --increment 25 --pdf "$work/refused.pdf"
refused unwritable 3 "${shot[@]}" --increment 25 --pdf "$work/missing/dir/refused.pdf"

# A FIFO or a device node is refused and stays what it was.
mkfifo "$work/fifo.pdf"
checks=$((checks + 1))
"$cli" pdf "${shot[@]}" --increment 25 --pdf "$work/fifo.pdf" 2>/dev/null
if [[ $? != 3 || ! -p $work/fifo.pdf ]]; then
    fail "fifo: not refused or replaced"
fi
ln -s /dev/null "$work/null.pdf"
checks=$((checks + 1))
"$cli" pdf "${shot[@]}" --increment 25 --pdf "$work/null.pdf" 2>/dev/null
if [[ $? != 3 || ! -c /dev/null || ! -L $work/null.pdf ]]; then
    fail "device: not refused or replaced"
fi

checks=$((checks + 1))
if ! "$cli" pdf --help | grep -q -- '--pdf FILE'; then
    fail "help: no --pdf FILE"
fi

echo "$((checks - failures)) passed, $failures failed"
((failures == 0))
