#!/usr/bin/env bash
# siacci-cli armoury: the armoury document checked and rewritten by the program's rules; what the
# tool reads (the armoury, a drag table) only from regular files of bounded size; what it writes
# (pdf --pdf, card --pdf) never left cut off on a full disk.
set -u
source "$(dirname "$0")/test_lib.sh"
cli_words=(armoury)
dir=$(mktemp -d)
trap 'umount "$dir/pieno" 2>/dev/null; rm -rf "$dir"' EXIT

# The desktop's own document comes back as it is; a compact one in the program's form.
doc="$SIACCI_TESTDATA/armeria.json"
wanted=$("$cli" armoury --file "$doc")$'\n'
expect same-again 0 "$wanted" --document "$wanted"
expect from-file 0 "$wanted" --file "$doc"
compact=$(tr -d '\n' <"$doc" | tr -s ' ')
expect compact 0 "$wanted" --document "$compact"

expect_message root-array "L'armeria non si legge: il file non è un'armeria di Siacci." --document '[]'
expect_message no-double-point 'L'"'"'armeria non si legge: Due armi si chiamano "A".' --document \
  '{"format":"siacci-armeria","version":1,"rifles":[{"name":"A","sight_height_cm":4,"twist_in":10,"twist_right_hand":true,"click_value":0.1,"click_unit":"mrad","zero_m":100,"zero_atmosphere":{"temperature_c":15,"pressure_hpa":1013,"humidity_pct":0},"loads":[]},{"name":"A","sight_height_cm":4,"twist_in":10,"twist_right_hand":true,"click_value":0.1,"click_unit":"mrad","zero_m":100,"zero_atmosphere":{"temperature_c":15,"pressure_hpa":1013,"humidity_pct":0},"loads":[]}]}'
expect usage 2 '' --document
expect refused 3 '' --document '{"format":"siacci-armeria","version":1,"rifles":[{}]}'

# Reading: a FIFO must not hang the tool, /dev/zero must not run it out of memory.
mkfifo "$dir/coda"
expect_message fifo "L'armeria \"$dir/coda\" non si legge: non è un file normale." --file "$dir/coda"
expect_message zero "L'armeria \"/dev/zero\" non si legge: non è un file normale." --file /dev/zero
head -c 17000000 /dev/zero | tr '\0' ' ' >"$dir/grande.json"
expect_message too-large "L'armeria \"$dir/grande.json\" non si legge: il file è troppo grande per essere un'armeria." \
  --file "$dir/grande.json"
cli_words=(card)
expect_first_line card-armoury-fifo "L'armeria \"$dir/coda\" non si legge: il file non si apre (non è un file normale)." \
  --rifle "Sako 85" --load Radar --armoury "$dir/coda"
expect card-armoury-zero 3 '' --rifle "Sako 85" --load Radar --armoury /dev/zero
expect_first_line drag-table-fifo "Non riesco a leggere la tabella di resistenza \"$dir/coda\": non è un file normale." \
  --drag-table "$dir/coda" --velocity 800 --weight 168 --diameter 7.82
awk 'BEGIN { for (i = 0; i < 2500; ++i) printf "%.4f 0.3\n", i / 500 }' >"$dir/lunga.txt"
expect_first_line drag-table-points "La tabella di resistenza ha più di 2000 punti: non è la tabella di una palla." \
  --drag-table "$dir/lunga.txt" --velocity 800 --weight 168 --diameter 7.82
cli_words=()

# Writing on a full disk (where the test may mount a small tmpfs): refused, the old file whole.
mkdir "$dir/pieno"
if mount -t tmpfs -o size=64k tmpfs "$dir/pieno" 2>/dev/null; then
  if "$cli" pdf --velocity 800 --bc 0.4 --increment 100 --max 500 --pdf "$dir/pieno/p.pdf" >/dev/null 2>&1; then
    head -c 57344 /dev/zero >"$dir/pieno/riempitivo"
    cp "$dir/pieno/p.pdf" "$dir/vecchio.pdf"
    for words in "pdf --velocity 800 --bc 0.4 --max 3000 --increment 10" "card --velocity 800 --bc 0.4 --weight 150 --max 1500 --increment 10"; do
      # shellcheck disable=SC2086
      expect "full-disk-${words%% *}" 3 '' $words --pdf "$dir/pieno/p.pdf"
      checks=$((checks + 1))
      if ! cmp -s "$dir/pieno/p.pdf" "$dir/vecchio.pdf" || [[ $(ls -A "$dir/pieno" | wc -l) != 2 ]]; then
        echo "FAIL full-disk-${words%% *}: the old file changed or a temporary was left"
        failures=$((failures + 1))
      fi
    done
    expect_first_line full-disk-message "siacci-cli pdf: non riesco a scrivere il file \"$dir/pieno/p.pdf\": il disco è pieno" \
      pdf --velocity 800 --bc 0.4 --max 3000 --increment 10 --pdf "$dir/pieno/p.pdf"
  else
    echo "skip full-disk: this build writes no PDF"
  fi
else
  echo "skip full-disk: no permission to mount a small tmpfs"
fi

finish
