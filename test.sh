#!/usr/bin/env bash
# Installs what is missing, builds the program and runs every test: the
# release build, the same suite under AddressSanitizer and UBSan, and a
# core-only build that proves no core library needs a widget; each on the
# SQLite file and on a throwaway PostgreSQL server of its own. The tests
# print through a CUPS queue of the run's own. What the run starts, it stops
# on the way out.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

cleanup() {
  "$root/scripts/print-queue.sh" stop || true
  if [ -n "${QUILLON_TEST_PG_DIR:-}" ]; then
    "$root/scripts/test-server.sh" stop "$QUILLON_TEST_PG_DIR" || true
  fi
}
trap cleanup EXIT
eval "$(scripts/print-queue.sh start || echo exit 1)"

if [ -z "${QUILLON_TEST_PG:-}" ]; then
  if server=$(scripts/test-server.sh start); then
    eval "$server"
  elif [ "${CI:-}" = true ]; then
    echo "The test server did not start: the server cases cannot run." >&2
    exit 1
  else
    echo "The test server did not start: the server cases are skipped." >&2
  fi
fi

run_suite() {
  (cd "$1" && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
}

scripts/build.sh
run_suite build

scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF
# Leak reports would come from the toolkit's own caches at exit, not from us.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan

scripts/build.sh build-core -DCMAKE_BUILD_TYPE=Release -DQUILLON_CORE_ONLY=ON
run_suite build-core
