#!/usr/bin/env bash
# Runs the fuzz targets one after another, single process, each until it
# has made RUNS executions or spent SECONDS:
#   fuzz/run.sh [SECONDS [RUNS [TARGET...]]]
# Builds build-fuzz (clang, core only) first. New inputs go to
# build-fuzz/corpus/<target>, findings to build-fuzz/artifacts/<target>, the
# output to build-fuzz/logs/<target>.log; a finding worth keeping is copied
# by hand into fuzz/corpus/<target>, which the replay test reads.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
runs=${2:-10000000}
shift 2 || shift $# || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(pagetext times clip colors columns setupfields dates amounts criteria selection layout)

if [ ! -f build-fuzz/CMakeCache.txt ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DQUILLON_FUZZ=ON -DQUILLON_CORE_ONLY=ON -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF
fi
cmake --build build-fuzz --parallel "$(nproc)"

for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/artifacts/$t" build-fuzz/logs
  UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=detect_leaks=0 \
    "build-fuzz/fuzz/fuzz_$t" -runs="$runs" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$t/" \
    "build-fuzz/corpus/$t" "fuzz/corpus/$t" >"build-fuzz/logs/$t.log" 2>&1 || echo "$t: finding, see build-fuzz/logs/$t.log"
  tail -n 20 "build-fuzz/logs/$t.log" | grep -E '^#[0-9]+.*(DONE|cov:)' | tail -n 1 | sed "s/^/$t: /" || true
done
