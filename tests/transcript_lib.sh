# Sourced by the end-to-end drivers: the transcript of one run of a case and
# its comparison with the case's golden file "expected". Only a chain
# report's date line is masked.

mask() { sed -E 's|^##date .*$|##date <masked>|'; }

# transcript STATUS FILE...: the exit status, standard output and standard
# error (stdout.txt, stderr.txt in the current folder), then each named file.
transcript() {
  local status=$1 name
  shift
  echo "== status $status"
  echo "== stdout"
  mask < stdout.txt
  echo "== stderr"
  cat stderr.txt
  for name in "$@"; do
    echo "== file $name"
    if [ -f "$name" ]; then mask < "$name"; else echo "(missing)"; fi
  done
}

# compare_golden CASE_DIR: compares transcript.txt with CASE_DIR/expected;
# UPDATE_GOLDEN=1 first rewrites expected.
compare_golden() {
  if [ "${UPDATE_GOLDEN:-}" = 1 ]; then
    cp transcript.txt "$1/expected"
  fi
  diff -u "$1/expected" transcript.txt
}
