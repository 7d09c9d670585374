#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
There is no display to show the program on (DISPLAY is not set).
Start it from a desktop session, or under a virtual display:
    sudo apt-get install xvfb && xvfb-run -a ./run.sh
MSG
  exit 1
fi
# The data stays beside the program in the build folder, as it always has.
QUILLON_DATA=${QUILLON_DATA:-$(pwd)/build/app} exec build/app/quillon "$@"
