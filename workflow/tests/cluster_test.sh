#!/usr/bin/env bash
# The workflow on a real scheduler: starts a single-node SLURM with
# accounting in a temporary folder (slurm_cluster.sh), runs the workflow on
# the test's sample sheet with the profile workflow/profiles/slurm, its
# account and partition given on the command line and USER unset, and checks
#  - with sacct, that every job but the local ones ran under SLURM and
#    completed;
#  - that results/summary.tsv equals the one of a local run of the sheet;
#  - that every daemon it started is gone after it stopped them.
# As root on Debian only (it installs the packages and mounts munge's socket
# folder in a namespace of its own); SKIPPED otherwise, a failure under CI.
# Usage: cluster_test.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)

skip() {
  echo "SKIPPED: $1"
  [ "${CI:-}" = true ] && exit 1
  exit 77
}

if [ -z "${LUMO_CLUSTER_NAMESPACE:-}" ]; then
  [ "$(id -u)" -eq 0 ] || skip "the cluster test runs SLURM's daemons and needs root"
  bash "$source_dir/tests/ensure_packages.sh" slurm-wlm slurmdbd munge mariadb-server snakemake || exit $?
  unshare --mount --propagation private true 2>/dev/null || skip "no mount namespace can be made here (unshare)"
  LUMO_CLUSTER_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
fi

source "$source_dir/workflow/tests/slurm_cluster.sh"
export PYTHONDONTWRITEBYTECODE=1
work=$(mktemp -d)
cleanup() {
  cluster_stop
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT
export XDG_CACHE_HOME="$work/cache"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Two work folders with the sheet's relative paths, one for each run.
make_folder() {
  mkdir -p "$1/workflow/tests/data" && ln -s "$source_dir/examples" "$1/examples" &&
    cp "$source_dir/workflow/tests/data/malformed.paf" "$1/workflow/tests/data/"
}
run_workflow() {  # FOLDER OUTPUT SNAKEMAKE_OPTIONS...
  local folder=$1 output=$2
  shift 2
  (cd "$folder" && snakemake -s "$source_dir/workflow/Snakefile" --keep-going \
    --config sheet="$source_dir/workflow/tests/pairs.tsv" bin_dir="$build_dir" "$@") > "$output" 2>&1
}
make_folder "$work/local" && make_folder "$work/cluster" || exit 1

started=$(date +%s)
cluster_start "$work/slurm" || { fail "the cluster did not start"; exit 1; }
echo "cluster: started in $(($(date +%s) - started)) s"

# The malformed and missing rows fail (the run's status is 1), every job
# that reaches the scheduler completes.
run_workflow "$work/local" "$work/local.out" -c 2
started=$(date +%s)
(
  unset USER
  run_workflow "$work/cluster" "$work/cluster.out" --profile "$source_dir/workflow/profiles/slurm" \
    --default-resources slurm_account="$CLUSTER_ACCOUNT" slurm_partition="$CLUSTER_PARTITION" \
    --max-status-checks-per-second 20
)
echo "cluster: the workflow ran in $(($(date +%s) - started)) s"

cmp -s "$work/local/results/summary.tsv" "$work/cluster/results/summary.tsv" ||
  fail "the cluster's summary differs from the local one:
$(diff "$work/local/results/summary.tsv" "$work/cluster/results/summary.tsv" 2>&1 | head -20)
$(tail -n 30 "$work/cluster.out")"

# The jobs the local run ran that are not local rules are the ones SLURM ran.
expected=$(grep -cE '^(rule|checkpoint) (split|chain|plot|pick|synteny):' "$work/local.out")
grep -o 'submitted with SLURM jobid [0-9]*' "$work/cluster.out" | awk '{ print $NF }' > "$work/submitted"
sacct -X -n -P -o JobIDRaw,State,Account -S now-1hour > "$work/sacct"
completed=$(awk -F'|' -v account="$CLUSTER_ACCOUNT" 'NR == FNR { submitted[$1]; next }
  $1 in submitted && $2 == "COMPLETED" && $3 == account' "$work/submitted" "$work/sacct" | wc -l)
[ "$(wc -l < "$work/submitted")" = "$expected" ] && [ "$completed" = "$expected" ] ||
  fail "$expected jobs expected under SLURM; submitted $(wc -l < "$work/submitted"), completed $completed:
$(cat "$work/sacct")"

pids=("${cluster_pids[@]}")
cluster_stop
for pid in "${pids[@]}"; do
  kill -0 "$pid" 2>/dev/null && fail "daemon $pid is still running after the stop"
done

[ "$failures" = 0 ] && echo "cluster: all checks passed"
[ "$failures" = 0 ]
