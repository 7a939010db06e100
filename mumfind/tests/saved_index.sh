#!/usr/bin/env bash
# The saved reference index of the built mumfind: `mumfind index` then -x
# gives the matches of a run that indexes the reference itself (with and
# without the reference file, several threads or one); an index of another
# version, a damaged, cut or foreign file, and an index of other sequences
# are refused with a message, and a failed index write keeps the old file.
# Usage: saved_index.sh MUMFIND SEQUENCE_DIR (the folder of the mitochondrial genomes)
set -uo pipefail
prog=$1 data=$(cd "$2" && pwd)
source "$(dirname "$0")/../../tests/bad_input_lib.sh"
run() { "$prog" "$@" > out 2> err; status=$?; }
# The matches of a run without its header lines.
matches() { "$prog" --table "$@" 2> /dev/null; }

cat "$data/MT-human.fa" > refs.fa
printf '>extra\nACGTTGCAACGTAGCTAGCTAGGATCGATCGATTTAGCGCGATATCGAGCTAGCTAGCGGGATCGA\n' >> refs.fa
query=$data/MT-orang.fa

start index_then_search
run index refs.fa -o refs.idx; expect_status 0
[ -s refs.idx ] || fail "no index written"
head -c 8 refs.idx | grep -q LUMOSAIX || fail "the index does not start with its format name"
"$prog" index -t 3 refs.fa -o threads.idx && cmp -s threads.idx refs.idx || fail "an index built on 3 threads differs"
for options in "-b" "--mem -b -l 15" "-b -t 2" "--mem -t 3"; do
  # shellcheck disable=SC2086
  direct=$(matches $options refs.fa "$query")
  # shellcheck disable=SC2086
  [ "$(matches $options -x refs.idx "$query")" = "$direct" ] || fail "-x differs with $options"
  # shellcheck disable=SC2086
  [ "$(matches $options -x refs.idx refs.fa "$query")" = "$direct" ] || fail "-x with the reference differs with $options"
  [ -n "$direct" ] || fail "no matches with $options"
done

start index_from_standard_input
run index - -o stdin.idx < refs.fa; expect_status 0
cmp -s stdin.idx refs.idx || fail "the index of standard input differs"

start other_version
cp refs.idx v1.idx
printf '\001' | dd of=v1.idx bs=1 seek=8 conv=notrunc 2> /dev/null
run -x v1.idx "$query"; expect_status 1; expect_one_line
expect_err "^mumfind: v1.idx: index format version 1, but this program reads version 2"

start wide_index
# 64-bit positions (forced on a short reference): the same matches, and
# an index file that records the width (bytes 28-31).
MUMFIND_WIDE_INDEX=1 "$prog" index refs.fa -o wide.idx 2> err || fail "no wide index"
[ "$(od -An -tu4 -j28 -N4 wide.idx | tr -d ' ')" = 8 ] || fail "the wide index does not record 8-byte positions"
[ "$(od -An -tu4 -j28 -N4 refs.idx | tr -d ' ')" = 4 ] || fail "the index does not record 4-byte positions"
direct=$(matches -b refs.fa "$query")
[ "$(matches -b -x wide.idx "$query")" = "$direct" ] || fail "-x with the wide index differs"
[ "$(MUMFIND_WIDE_INDEX=1 matches -b -t 2 refs.fa "$query")" = "$direct" ] || fail "a wide run differs"

start damaged
cp refs.idx damaged.idx
size=$(wc -c < refs.idx)
printf 'Z' | dd of=damaged.idx bs=1 seek=$((size / 2)) conv=notrunc 2> /dev/null
run -x damaged.idx "$query"; expect_status 1; expect_one_line; expect_err "^mumfind: damaged.idx: damaged index"

start cut_short
head -c $((size - 100)) refs.idx > cut.idx
run -x cut.idx "$query"; expect_status 1; expect_err "^mumfind: cut.idx: damaged index: the file is cut short"

start not_an_index
run -x refs.fa "$query"; expect_status 1; expect_err "^mumfind: refs.fa: not a suffix-array index"

start missing_index
run -x nothere.idx "$query"; expect_status 1; expect_err "^mumfind: nothere.idx: No such file"

start built_from_other_sequences
sed 's/^ACGTTGCAACG/ACGTTGCAACC/' refs.fa > changed.fa
run -x refs.idx changed.fa "$query"; expect_status 1; expect_one_line
expect_err "^mumfind: refs.idx: the index was not built from the sequences of changed.fa"
run -x refs.idx "$data/MT-human.fa" "$query"; expect_status 1; expect_err "was not built from"

start index_command_line
run index refs.fa; expect_status 2; expect_err "needs -o FILE"
run index -o x.idx; expect_status 2; expect_err "takes one reference file"
run index refs.fa "$query" -o x.idx; expect_status 2; expect_err "takes one reference file"
run -t 0 refs.fa "$query"; expect_status 2; expect_err "^mumfind: -t needs a whole number"
run -x refs.idx; expect_status 2; expect_err "needs a query file"
run -x refs.idx refs.fa "$query" "$query"; expect_status 2; expect_err "more than two sequence files"

start failed_write_keeps_the_old_index
cp refs.idx kept.idx
printf '>a\nACGTAC\n>a\nACGTTT\n' > twice.fa
run index twice.fa -o kept.idx; expect_status 1
cmp -s kept.idx refs.idx || fail "a failed index replaced the old one"
run index refs.fa -o /dev/full; expect_status 1; expect_one_line; expect_err "^mumfind: cannot write /dev/full"
finish
