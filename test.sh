#!/usr/bin/env bash
# Installs what is missing, builds the program and runs every test, on the
# SQLite file and on a throwaway PostgreSQL server of its own.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen

if [ -z "${QUILLON_TEST_PG:-}" ]; then
  if server=$(scripts/test-server.sh start); then
    eval "$server"
    trap '"$root/scripts/test-server.sh" stop "$QUILLON_TEST_PG_DIR"' EXIT
  elif [ "${CI:-}" = true ]; then
    echo "The test server did not start: the server cases cannot run." >&2
    exit 1
  else
    echo "The test server did not start: the server cases are skipped." >&2
  fi
fi

cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
