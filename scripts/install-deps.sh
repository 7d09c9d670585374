#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test,
# skipping what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  # rebuilds of unchanged sources come from the compiler cache
  ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev fonts-liberation
  # Printing checks with CUPS itself whether the queue took the job.
  libcups2-dev
  libsqlite3-dev libgtest-dev libbenchmark-dev
  fonts-dejavu-core
  # The print tests: a CUPS queue whose paper is a PDF file, read back as text.
  cups printer-driver-cups-pdf poppler-utils
  # the server the tests run against (a station on a server needs only the driver above)
  postgresql
  # the Debian package and its checks (tests/package)
  dpkg-dev lintian desktop-file-utils appstream
  # the fuzz targets (fuzz/run.sh): clang with libFuzzer and the sanitizer runtimes
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "Packages are missing (${missing[*]}) and this user cannot install them: run as root or install sudo." >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
