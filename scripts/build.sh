#!/usr/bin/env bash
# Configures (once) and builds one build folder.
#   scripts/build.sh                 the release build in build/
#   scripts/build.sh DIR [OPTION...] another build folder, configured with the
#                                    given CMake options (e.g. -DQUILLON_SANITIZE=ON)
# In CI (CI set) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
options=("$@")
[ ${#options[@]} -gt 0 ] || options=(-DCMAKE_BUILD_TYPE=Release)
[ -n "${CI:-}" ] && options+=(-DQUILLON_WERROR=ON)
# Unchanged sources are not compiled again (across build folders and clones).
if command -v ccache >/dev/null 2>&1; then
  options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)} CCACHE_NOHASHDIR=true
fi
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${generator[@]}" "${options[@]}"
fi
cmake --build "$dir" --parallel "$(nproc)"
