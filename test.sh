#!/usr/bin/env bash
# Installs what is missing, builds the program and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
eval "$(scripts/print-queue.sh start || echo exit 1)"; trap "$PWD/scripts/print-queue.sh stop" EXIT
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
