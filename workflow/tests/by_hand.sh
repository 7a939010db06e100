# Sourced by the workflow's tests: the summary lines that the programs of
# BUILD_DIR give run by hand. alichain's standard output holds the forward
# report and, when the reverse chain wins, the reverse report after it;
# alisyn runs on the row's whole input (see by_hand_synteny.py).
# Needs build_dir, source_dir and fail() from the test.
tool() { echo "$build_dir/$1/$1"; }
by_hand_chains() {  # NAME FOLDER: the chain columns per pair of the split
  while IFS=$'\t' read -r file reference query reference_length query_length alignments minus; do
    [ "$file" = file ] && continue
    "$(tool alichain)" "$2/$file" > chain.out || fail "alichain failed on $2/$file"
    members=$(grep 'Number of used alignments' chain.out | tail -1 | cut -f2)
    reported=$(grep 'Score sum of these alignments' chain.out | tail -1 | sed 's/.*: //')
    # The exact sum of the winning report's members' scores, which rounds
    # to the report's six-digit sum.
    score=$(awk '/^##gff-version/ { report++ } { print report "\t" $0 }' chain.out |
      awk -F'\t' -v last="$(grep -c '^##gff-version' chain.out)" '$1 == last && $4 == "alignment" { print $7 }' |
      python3 -c 'import sys, decimal; print(format(sum(map(decimal.Decimal, sys.stdin.read().split())), "f"))')
    [ "$(printf '%g' "$score")" = "$reported" ] || fail "$2/$file: the exact sum $score is not the report's $reported"
    reports=$(grep -c '^##gff-version' chain.out)
    pass=forward; [ "$reports" = 2 ] && pass=reverse
    printf '%s\tok\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$1" "$reference" "$query" "$reference_length" \
      "$query_length" "$(head -1 chain.out)" "$members" "$score" "$pass"
  done < "$2/pairs.tsv"
}
by_hand_synteny() {  # FOLDER INPUT: the synteny columns per pair of the split
  "$(tool alisyn)" -o "$1.syn" "$2" 2> "$1.syn.summary" || fail "alisyn failed on $2: $(cat "$1.syn.summary")"
  local kept=("$1.syn.kept.gff")
  if [ ! -e "$kept" ]; then
    "$(tool aliconv)" "$1".syn.kept.* --split "$1.kept" || fail "aliconv failed on $1's kept alignments"
    kept=("$1.kept"/*.gff)
  fi
  python3 "$source_dir/workflow/tests/by_hand_synteny.py" "$1/pairs.tsv" "$1.syn" "$1.syn.summary" "${kept[@]}" ||
    fail "the synteny of $1 by hand"
}
# NAME FOLDER [INPUT]: one expected summary line per pair of the split in
# FOLDER, alisyn reading INPUT (without it, the split's pair files joined).
by_hand_row() {
  local input=${3:-$2.joined.gff}
  if [ -z "${3:-}" ]; then
    tail -n +2 "$2/pairs.tsv" | cut -f1 | sed "s|^|$2/|" | xargs cat > "$input"
  fi
  by_hand_chains "$1" "$2" > "$2.chains.part"
  by_hand_synteny "$2" "$input" > "$2.synteny.part"
  paste "$2.chains.part" "$2.synteny.part"
}
