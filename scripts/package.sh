#!/usr/bin/env bash
# Builds the Debian package of the program (build/quillon_<version>_<arch>.deb)
# from the release build in build/, and checks it with lintian.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
(cd build && cpack -G DEB)
deb=$(ls -t build/quillon_*.deb | head -1)
echo "lintian $deb"
lintian --fail-on error "$deb"
echo "Built $deb; install it with: sudo apt install ./$deb"
