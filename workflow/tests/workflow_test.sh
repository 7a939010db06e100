#!/usr/bin/env bash
# End-to-end test of the workflow: runs it with Snakemake on the sample sheet
# workflow/tests/pairs.tsv (a three-pair PAF, a nucmer delta, a FASTA pair for
# mumfind, a malformed PAF and a file that does not exist) in a temporary work
# folder, and checks
#  - that --keep-going finishes every good pair and lists the malformed row as
#    failed with the tool's message, which its log holds too, and the row of
#    the missing file as failed with the reason;
#  - the summary's rows against the chains and synteny figures that the
#    programs give run by hand;
#  - that every file the summary and index.html name exists (plots parse as XML,
#    picked files convert back to the chain's members);
#  - that after fixing the malformed file and making the missing one a run
#    redoes those rows alone, and a dry run then plans nothing;
#  - that when a row's input shrinks, its old pairs' files are removed;
#  - that a wrong sample sheet is refused with its line named.
# Usage: workflow_test.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)
source "$source_dir/tests/need_tool.sh"
need_tool snakemake snakemake

# The workflow's Python modules would otherwise leave compiled copies in the
# source tree.
export PYTHONDONTWRITEBYTECODE=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
# Snakemake keeps a cache of its own; it stays in the work folder too.
export XDG_CACHE_HOME="$work/cache"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The sheet's paths are relative to the project folder: the work folder mirrors
# them, with a copy of the malformed file, which the test fixes later.
ln -s "$source_dir/examples" examples
mkdir -p workflow/tests/data config
cp "$source_dir/workflow/tests/data/malformed.paf" workflow/tests/data/
cp "$source_dir/config/config.yaml" config/
run_workflow() {
  snakemake -s "$source_dir/workflow/Snakefile" -c 2 \
    --config sheet="$source_dir/workflow/tests/pairs.tsv" bin_dir="$build_dir" "$@"
}

# 1. The first run: the malformed row fails, every other pair finishes.
run_workflow --keep-going > first.out 2>&1 && fail "the run with a malformed row succeeded"
grep -q "row malformed failed: aliconv: .*malformed.paf, line 3" first.out ||
  fail "no failure naming the malformed file and line: $(grep -m3 -i error first.out)"
grep -q "malformed.paf, line 3" logs/malformed/split.log || fail "the malformed row's log lacks the tool's message"
[ -f results/summary.tsv ] || { fail "no results/summary.tsv: $(tail -20 first.out)"; exit 1; }
awk -F'\t' '$1 == "malformed" && $2 == "failed" && $NF ~ /malformed.paf, line 3/' results/summary.tsv | grep -q . ||
  fail "the summary does not list the malformed row as failed: $(grep malformed results/summary.tsv)"
missing_reason="cannot read workflow/tests/data/missing.paf: No such file or directory"
grep -q "row missing failed: $missing_reason" first.out ||
  fail "no failure naming the missing file: $(grep -m3 -i -A3 error first.out)"
awk -F'\t' -v reason="$missing_reason" '$1 == "missing" && $2 == "failed" && $NF == reason' results/summary.tsv |
  grep -q . || fail "the summary does not list the missing file's row as failed: $(grep missing results/summary.tsv)"

# 2. The chains run by hand on each pair file that the split gives.
source "$source_dir/workflow/tests/by_hand.sh"
mkdir hand
{
  "$(tool aliconv)" examples/mt3.minimap2.paf --split hand/mt3 && by_hand_row mt3 hand/mt3 examples/mt3.minimap2.paf
  "$(tool aliconv)" examples/ecoli_MG1655_vs_536.nucmer.delta.gz --split hand/ecoli &&
    by_hand_row ecoli hand/ecoli examples/ecoli_MG1655_vs_536.nucmer.delta.gz
  "$(tool mumfind)" -b --split hand/mt examples/MT-human.fa examples/MT-orang.fa && by_hand_row mt hand/mt
} > expected.tsv || fail "the programs failed when run by hand"
awk -F'\t' '$2 == "ok"' results/summary.tsv | cut -f1-17 > actual.tsv
diff expected.tsv actual.tsv > summary.diff || fail "summary rows differ from the chains run by hand:
$(cat summary.diff)"
[ "$(wc -l < expected.tsv)" = 5 ] || fail "expected 5 sequence pairs by hand, found $(wc -l < expected.tsv)"

# 3. Every file the summary names; plots parse; picked files hold the members.
python3 "$source_dir/workflow/tests/check_outputs.py" results/summary.tsv results/index.html "$(tool aliconv)" ||
  fail "the summary's files are incomplete"

# 4. Fixed input: only the fixed rows run again; then nothing is left to do.
stat -c '%n %Y' results/mt3/chains/* results/ecoli/chains/* results/mt/chains/* > before.txt
sleep 1
sed -i 3d workflow/tests/data/malformed.paf
head -n 1 workflow/tests/data/malformed.paf > workflow/tests/data/missing.paf
run_workflow > second.out 2>&1 || fail "the run after the fix failed: $(tail -20 second.out)"
grep -qE '^split +2 ' second.out || fail "the run after the fix did not split exactly two rows: $(grep -E '^split ' second.out)"
stat -c '%n %Y' results/mt3/chains/* results/ecoli/chains/* results/mt/chains/* > after.txt
cmp -s before.txt after.txt || fail "the run after the fix redid other rows' chains"
for row in malformed missing; do
  awk -F'\t' -v row=$row '$1 == row && $2 == "ok"' results/summary.tsv | grep -q . ||
    fail "the fixed row $row is not ok in the summary"
done
run_workflow -n > dry.out 2>&1 || fail "the dry run failed: $(tail -20 dry.out)"
grep -q 'Nothing to be done' dry.out || fail "a dry run after a complete run plans jobs: $(grep -A12 'Job stats' dry.out)"

# 5. A row whose input shrinks from two pairs to one keeps only that pair's
# chains, plots, picked files and logs.
[ "$(ls results/malformed/chains | wc -l)" = 4 ] || fail "expected two pairs' chains: $(ls results/malformed/chains)"
sed -i 1d workflow/tests/data/malformed.paf
run_workflow > shrunk.out 2>&1 || fail "the run after the shrink failed: $(tail -20 shrunk.out)"
stem=$(awk -F'\t' 'NR == 2 { sub(/\.gff$/, "", $1); print $1 }' results/malformed/split/pairs.tsv)
stale=$(cd results/malformed && find chains plots picked ../../logs/malformed/{chains,plots,picked} -type f |
  grep -v "/$stem\.")
[ -n "$stem" ] && [ -z "$stale" ] || fail "files of pairs the input no longer holds stay: $stale"
[ "$(ls results/malformed/chains | wc -l)" = 2 ] || fail "the remaining pair's chain is missing: $(ls results/malformed/chains)"

# 6. A sample sheet that is wrong stops the workflow before any job, naming
# the sheet's line.
printf 'name\treference\tquery\talignments\nboth\ta.fa\tb.fa\tc.paf\n' > wrong.tsv
run_workflow -n --config sheet=wrong.tsv > wrong.out 2>&1 && fail "a wrong sample sheet was accepted"
grep -q "wrong.tsv:2: give either a reference and a query FASTA file or an alignment file" wrong.out ||
  fail "no message naming the wrong sheet's line: $(grep -A2 -m1 Error wrong.out)"

[ "$failures" = 0 ] && echo "workflow: all checks passed"
[ "$failures" = 0 ]
