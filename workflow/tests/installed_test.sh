#!/usr/bin/env bash
# The installed workflow, run from a data folder outside the project: installs
# this build into a temporary prefix and checks
#  - that with its defaults (config/pairs.tsv of the data folder) it finds the
#    installed programs, runs each row's own aligner (minimap2 with asm5 and
#    asm20, nucmer, mumfind with options) on the threads Snakemake grants and
#    gives the summary (chains and synteny) of the programs run by hand;
#  - that rows whose aligner finds nothing are listed as empty, without
#    synteny figures, and the run succeeds;
#  - that with --configfile and bin_dir "" the programs come from the PATH,
#    one core gives mumfind one thread, and alisyn_options reach alisyn;
#  - that a sheet with an unknown aligner is refused, naming its line;
#  - that snakemake --lint warns of nothing but software environments.
# Usage: installed_test.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)
source "$source_dir/tests/need_tool.sh"
need_tool snakemake snakemake
need_tool minimap2 minimap2
need_tool nucmer mummer

export PYTHONDONTWRITEBYTECODE=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
source "$source_dir/workflow/tests/by_hand.sh"

cmake --install "$build_dir" --prefix "$work/prefix" > "$work/install.log" 2>&1 ||
  { fail "make install failed: $(tail -5 "$work/install.log")"; exit 1; }
workflow="$work/prefix/share/lumotools/workflow"
[ -f "$workflow/Snakefile" ] && [ -f "$workflow/profiles/slurm/config.yaml" ] && [ -f "$workflow/config/pairs.tsv" ] ||
  fail "the installed workflow is incomplete: $(cd "$workflow" && find . -type f | sort | tr '\n' ' ')"

mkdir -p "$work/data/config" && cd "$work/data" || exit 1
# Two unrelated random sequences, between which no aligner finds anything;
# and the human mitochondrion with one base in 100 changed, close enough
# for minimap2's asm5 preset (the orang-utan's is not).
python3 - "$source_dir/examples/MT-human.fa" <<'EOF'
import random
import sys
random.seed(7)
for name in ("one", "two"):
    with open(f"{name}.fa", "w") as handle:
        handle.write(f">{name}\n" + "".join(random.choice("ACGT") for _ in range(3000)) + "\n")
with open(sys.argv[1]) as handle:
    bases = list("".join(line.strip() for line in handle if not line.startswith(">")))
for index in range(0, len(bases), 100):
    bases[index] = "C" if bases[index] != "C" else "G"
with open("near.fa", "w") as handle:
    handle.write(">near\n" + "".join(bases) + "\n")
EOF
human="$source_dir/examples/MT-human.fa"
orang="$source_dir/examples/MT-orang.fa"
{
  printf 'name\treference\tquery\talignments\taligner\taligner_options\n'
  printf 'asm5\t%s\tnear.fa\t\tminimap2-asm5\t\n' "$human"
  printf 'asm20\t%s\t%s\t\tminimap2-asm20\t-N 2\n' "$human" "$orang"
  printf 'nuc\t%s\t%s\t\tnucmer\t\n' "$human" "$orang"
  printf 'mum30\t%s\t%s\t\tmumfind\t-b -l 30\n' "$human" "$orang"
  printf 'unrelated\tone.fa\ttwo.fa\t\tminimap2-asm5\t\n'
  printf 'unrelated_mum\tone.fa\ttwo.fa\t\t\t\n'
} > config/pairs.tsv

# 1. Defaults: the sheet config/pairs.tsv, the installed programs.
snakemake -s "$workflow/Snakefile" -c 2 > run.out 2>&1 || fail "the installed workflow failed: $(tail -20 run.out)"
grep -q "^\$ $work/prefix/bin/mumfind -t 2 -b -l 30 " logs/mum30/split.log ||
  fail "the installed mumfind was not used on the two threads granted: $(head -1 logs/mum30/split.log)"
grep -q "^\$ $(command -v minimap2) -c -x asm5 -t 2 " logs/asm5/split.log ||
  fail "minimap2 did not run on the two threads granted: $(head -1 logs/asm5/split.log)"

mkdir hand
{
  minimap2 -c -x asm5 -t 2 "$human" near.fa 2>/dev/null > hand/asm5.paf &&
    "$(tool aliconv)" -i paf hand/asm5.paf --split hand/asm5 && by_hand_row asm5 hand/asm5 hand/asm5.paf
  minimap2 -c -x asm20 -t 2 -N 2 "$human" "$orang" 2>/dev/null > hand/asm20.paf &&
    "$(tool aliconv)" -i paf hand/asm20.paf --split hand/asm20 && by_hand_row asm20 hand/asm20 hand/asm20.paf
  nucmer -p hand/nuc "$human" "$orang" 2>/dev/null &&
    "$(tool aliconv)" -i delta hand/nuc.delta --split hand/nuc && by_hand_row nuc hand/nuc hand/nuc.delta
  "$(tool mumfind)" -b -l 30 --split hand/mum30 "$human" "$orang" && by_hand_row mum30 hand/mum30
} > expected.tsv || fail "the programs failed when run by hand"
awk -F'\t' '$2 == "ok"' results/summary.tsv | cut -f1-17 > actual.tsv
diff expected.tsv actual.tsv > summary.diff || fail "summary rows differ from the programs run by hand:
$(cat summary.diff)"
[ "$(wc -l < expected.tsv)" = 4 ] || fail "expected 4 sequence pairs by hand, found $(wc -l < expected.tsv)"

# 2. Rows without alignments are empty, with the reason.
for row in "unrelated minimap2-asm5" "unrelated_mum mumfind"; do
  set -- $row
  awk -F'\t' -v row="$1" -v reason="$2 found no alignment" '$1 == row && $2 == "empty" && $NF == reason' \
    results/summary.tsv | grep -q . || fail "row $1 is not empty: $(grep "^$1	" results/summary.tsv)"
  # No pair, so no synteny figures and no blocks or chain file.
  awk -F'\t' -v row="$1" '$1 == row { for (i = 11; i <= 17; i++) printf "%s", $i; print $22 $23 }' \
    results/summary.tsv | grep -q . && fail "row $1 has synteny values: $(grep "^$1	" results/summary.tsv)"
done
python3 "$source_dir/workflow/tests/check_outputs.py" results/summary.tsv results/index.html "$(tool aliconv)" ||
  fail "the summary's files are incomplete"

# 3. --configfile, and bin_dir "" for the programs on the PATH; one core
# for every job, so mumfind is given one thread; alisyn keeping every
# alignment (--filter none), so that the pair that the one-to-one filter
# leaves nothing keeps its nine alignments.
mkdir -p "$work/path" "$work/other" && cd "$work/other" || exit 1
for program in aliconv alichain aliplot alisyn mumfind; do ln -s "$(tool $program)" "$work/path/$program"; done
{
  printf 'name\treference\tquery\talignments\nmt3\t\t\t%s\n' "$source_dir/examples/mt3.minimap2.paf"
  printf 'mt\t%s\t%s\t\n' "$human" "$orang"
} > sheet.tsv
printf 'sheet: sheet.tsv\nbin_dir: ""\nalisyn_options: ["--filter", "none"]\n' > settings.yaml
PATH="$work/path:$PATH" snakemake -s "$workflow/Snakefile" -c 1 --configfile settings.yaml > run.out 2>&1 ||
  fail "the run with --configfile failed: $(tail -20 run.out)"
grep -q "^\$ $work/path/aliconv " logs/mt3/split.log || fail "aliconv did not come from the PATH: $(head -1 logs/mt3/split.log)"
grep -q "^\$ $work/path/mumfind -t 1 -b " logs/mt/split.log ||
  fail "mumfind did not run on the one thread granted: $(head -1 logs/mt/split.log)"
awk -F'\t' '$3 == "PA#NC_002083.1X" && $4 == "MT_human" && $11 == 7775' results/summary.tsv | grep -q . ||
  fail "alisyn_options did not reach alisyn: $(grep PA results/summary.tsv | cut -f3,4,11)"

# 4. An aligner the sheet may not name.
printf 'name\treference\tquery\talignments\taligner\nx\ta.fa\tb.fa\t\tblast\n' > wrong.tsv
snakemake -s "$workflow/Snakefile" -n --config sheet=wrong.tsv > wrong.out 2>&1 && fail "an unknown aligner was accepted"
grep -q "wrong.tsv:2: column aligner: 'blast' is not one of" wrong.out ||
  fail "no message naming the wrong sheet's line: $(grep -A2 -m1 Error wrong.out)"

# 5. Lint: only the software environments, which the README explains.
snakemake -s "$workflow/Snakefile" --lint > lint.out 2>&1
grep -E '^ {4}\S' lint.out | grep -v 'Specify a conda environment or container for each rule' > lint.rest
[ ! -s lint.rest ] || fail "snakemake --lint warns: $(cat lint.rest)"

[ "$failures" = 0 ] && echo "installed workflow: all checks passed"
[ "$failures" = 0 ]
