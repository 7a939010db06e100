#!/usr/bin/env bash
# The command-line conventions that every program but alichain and smooth
# shares, checked on the built program:
# - -h and --help print the usage text on standard output with status 0,
#   the text a usage error prints after its message on standard error;
# - --version prints VERSION (the build's) alone, with status 0;
# - an unknown option, a missing value (of -o, which every one of these
#   programs has) and a value given to a flag end with status 2 and a
#   message naming the option, then the usage text;
# - each SPELLING (the words of one run, split at blanks) reads INPUT as a
#   file named "-x", which only "--" lets it name, and writes OUTPUT: every
#   spelling must succeed silently and write the same OUTPUT.
# Usage: command_line.sh PROGRAM VERSION INPUT OUTPUT SPELLING...
set -uo pipefail
prog=$1
version=$2
input=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
output=$4
shift 4
source "$(dirname "$0")/bad_input_lib.sh"
name=$(basename "$prog")

run() {
  "$prog" "$@" > out 2> err
  status=$?
}
# refused MESSAGE ARGS...: a usage error, reported as MESSAGE and the usage.
refused() {
  local message=$1
  shift
  run "$@"
  expect_status 2
  [ -s out ] && fail "wrote to standard output: $(head -c 300 out)"
  [ "$(head -n 1 err)" = "$name: $message" ] || fail "first message line is not '$name: $message': $(head -c 300 err)"
  cmp -s <(tail -n +2 err) usage || fail "the usage text does not follow the message: $(head -c 300 err)"
}

start help_on_standard_output
run --help; expect_status 0
[ -s err ] && fail "--help wrote messages: $(head -c 300 err)"
head -n 1 out | grep -q "^usage: $name " || fail "--help does not start with 'usage: $name': $(head -c 300 out)"
cp out usage
run -h; expect_status 0
cmp -s out usage || fail "-h and --help differ"
if [ -w /dev/full ]; then
  "$prog" --help > /dev/full 2> err; status=$?
  expect_status 1; expect_err "^$name: cannot write standard output: No space left on device$"
fi

start version_is_the_builds
run --version; expect_status 0
[ "$(cat out)" = "$version" ] || fail "--version printed '$(head -c 300 out)', not '$version'"
[ -s err ] && fail "--version wrote messages: $(head -c 300 err)"

cp "$input" ./-x
start usage_errors_name_the_option
refused "unknown option --bogus" --bogus
refused "unknown option --bogus" --bogus=1
refused "unknown option -Z" -Z
refused "option -o needs a value" -o
refused "option --version takes no value" --version=2
refused "option --help takes no value" --help=yes

start spellings_give_one_output
first=
for spelling in "$@"; do
  read -r -a words <<< "$spelling"
  rm -f "$output"
  run "${words[@]}"
  expect_status 0
  [ -s err ] && fail "'$spelling' wrote messages: $(head -c 300 err)"
  [ -s "$output" ] || fail "'$spelling' wrote no $output"
  if [ -z "$first" ]; then
    first=$spelling
    mv "$output" first.output
  else
    cmp -s first.output "$output" || fail "'$spelling' and '$first' write different outputs"
  fi
done
[ -n "$first" ] || fail "no spelling given"
finish
