# Sourced by the workflow's tests: the summary lines that the programs of
# BUILD_DIR give run by hand. alichain's standard output holds the forward
# report and, when the reverse chain wins, the reverse report after it.
# Needs build_dir and fail() from the test.
tool() { echo "$build_dir/$1/$1"; }
by_hand_row() {  # NAME FOLDER: one expected summary line per pair of the split
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
