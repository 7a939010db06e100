#!/usr/bin/env bash
# Every program that reads text reads bgzip output (several gzip members, the
# last one empty) as it reads the plain file: each input is made plain in
# plain/ and bgzip-compressed under the same name in packed/, each program
# runs in both folders, and the whole outputs must be equal. Bytes after the
# last member are refused with a message naming the file, status 1.
# Usage: bgzip_inputs.sh ALICONV ALIPLOT MUMFIND EXAMPLES_DIR
set -uo pipefail
aliconv=$1 aliplot=$2 mumfind=$3
examples=$(cd "$4" && pwd)
source "$(dirname "$0")/need_tool.sh"
need_tool bgzip tabix
source "$(dirname "$0")/bad_input_lib.sh"
mkdir plain packed

# Inputs of more than one bgzip block (64 KiB of text each).
for i in $(seq 20); do cat "$examples/mt.minimap2.paf"; done > plain/in.paf
{ cat "$examples/mt.gff"; grep -v '^#' "$examples/mt.gff"; } > plain/in.gff
{ echo '>MT_human_5_times'; for i in $(seq 5); do grep -v '^>' "$examples/MT-human.fa"; done; } > plain/ref.fa
cp "$examples/MT-orang.fa" plain/query.fa
for f in plain/*; do bgzip -c "$f" > "packed/${f#plain/}"; done
members=$(LC_ALL=C grep -o -a -P '\x1f\x8b\x08\x04' packed/in.paf | wc -l)
[ "$members" -ge 3 ] || fail "bgzip wrote $members members, expected three or more"

# same NAME COMMAND...: COMMAND, run in plain/ and in packed/, succeeds in
# both with the same standard output and messages.
same() {
  start "$1"
  shift
  for dir in plain packed; do
    (cd "$dir" && "$@" > "../$dir.out" 2> "../$dir.err")
    echo $? >> "$dir.out"
  done
  cmp -s plain.out packed.out || fail "outputs differ: $(diff plain.out packed.out | head -c 300)"
  cmp -s plain.err packed.err || fail "messages differ: $(diff plain.err packed.err | head -c 300)"
  [ "$(tail -n 1 plain.out)" = 0 ] || fail "status $(tail -n 1 plain.out): $(head -c 300 plain.err)"
}

same aliconv "$aliconv" in.paf
same aliconv_standard_input sh -c '"$0" - < in.paf' "$aliconv"
same aliplot "$aliplot" in.gff -o - --format svg
same mumfind "$mumfind" -b ref.fa query.fa
same mumfind_standard_input sh -c '"$0" ref.fa - < query.fa' "$mumfind"

# refused NAME PROGRAM INPUT LINE ARGS...: with bytes after its last member,
# INPUT stops PROGRAM with "PROGRAM: INPUT, line LINE: ...", status 1.
refused() {
  start "$1"
  local prog=$2 input=$3 line=$4
  shift 4
  { cat "packed/$input"; printf 'not gzip\n'; } > "trailing.$input"
  "$prog" "$@" > out 2> err
  status=$?
  expect_status 1
  expect_err "^$(basename "$prog"): trailing.$input, line $line: bytes after the last gzip member are not gzip data\$"
}
lines() { wc -l < "plain/$1" | tr -d ' '; }
refused aliconv_trailing "$aliconv" in.paf "$(($(lines in.paf) + 1))" trailing.in.paf
refused aliplot_trailing "$aliplot" in.gff "$(($(lines in.gff) + 1))" trailing.in.gff -o out.svg
refused mumfind_trailing "$mumfind" query.fa "$(($(lines query.fa) + 1))" plain/ref.fa trailing.query.fa
finish
