#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vorelbox needs.
# Packages already installed are skipped; sudo is used when not run as root.
# With --windows, only what the Windows cross build (`make windows`) adds: the
# mingw-w64 compiler, Wine to run the tests, GoogleTest's sources, and what
# scripts/build-expat-windows.sh needs to fetch and unpack Debian's expat source.
set -euo pipefail

packages=(
  build-essential
  cmake
  qt6-base-dev
  qt6-svg-dev
  libuemf-dev
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  # The N42 reader's XML parser.
  libexpat1-dev
  fonts-dejavu-core
  fonts-liberation
  dpkg-dev
  desktop-file-utils
  shared-mime-info
  # `make sanitize` and `make fuzz`: clang 14, its sanitizer and libFuzzer
  # runtimes, and llvm-symbolizer for readable reports.
  clang
  libclang-rt-14-dev
  llvm
)

if [ "${1:-}" = "--windows" ]; then
  packages=(
    g++-mingw-w64-x86-64-posix
    wine64
    googletest
    dpkg-dev
    debian-archive-keyring
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
