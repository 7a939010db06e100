#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for a bounded
# time: run.sh BUILD_DIR SECONDS_PER_TARGET. Crashing inputs land in
# BUILD_DIR/artifacts; copy each into fuzz/regressions/<target>/ once fixed.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "installing clang and libFuzzer (Debian packages clang, libclang-rt-dev)"
  apt-get update -qq && apt-get install -y -qq clang libclang-rt-14-dev
fi

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLUMO_FUZZ=ON -DLUMO_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)"

mkdir -p "$build/artifacts"
# A declared count in a damaged binary header (BAM's reference count, say)
# can ask for many gigabytes at once: the C allocator then returns null, as
# it would on a machine without that memory, and the reader must refuse the
# input. Operator new still reports such a request as a failure.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1:max_allocation_size_mb=2048}
for target in ${FUZZ_TARGETS:-fuzz_alichain fuzz_smooth fuzz_stree fuzz_aliconv fuzz_seqfile fuzz_chain_report fuzz_aliplot}; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$here/seeds/$target" ] && seeds+=("$here/seeds/$target")
  [ -d "$here/regressions/$target" ] && seeds+=("$here/regressions/$target")
  dict=()
  [ -f "$here/dicts/$target.dict" ] && dict=(-dict="$here/dicts/$target.dict")
  echo "== $target for ${seconds}s"
  # -close_fd_mask=3: the programs' own output is dropped, the fuzzer's
  # reports and the sanitizers' are kept.
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -close_fd_mask=3 \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 \
    "${dict[@]}" "$corpus" "${seeds[@]}"
done
