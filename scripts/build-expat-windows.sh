#!/usr/bin/env bash
# Builds expat, the N42 reader's XML parser, for the Windows cross build:
# Debian 12's own source package (bookworm, or bookworm-security when newer),
# with Debian's patches, compiled by mingw-w64 into a static library under
# DIR/prefix (include/expat.h, lib/libexpat.a).
#
#   scripts/build-expat-windows.sh DIR
#
# The source comes through apt with a private sources list and state kept in
# DIR/apt, so the system's apt configuration is neither read nor changed; apt
# checks the signed release files and every file's SHA-256. Once DIR/prefix
# holds a finished build, the script downloads and builds nothing.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
dir=$(cd "$1" && pwd)
prefix=$dir/prefix
stamp=$prefix/debian-source-version

if [ -f "$stamp" ] && [ -f "$prefix/lib/libexpat.a" ] && [ -f "$prefix/include/expat.h" ]; then
  echo "expat: $(cat "$stamp") already built in $prefix"
  exit 0
fi

for tool in apt-get apt-cache dpkg-source x86_64-w64-mingw32-gcc-posix cmake; do
  if ! command -v "$tool" > /dev/null; then
    echo "expat: $tool is missing; run scripts/install-deps.sh --windows" >&2
    exit 1
  fi
done

keyring=/usr/share/keyrings/debian-archive-keyring.gpg
apt_dir=$dir/apt
rm -rf "$apt_dir" "$dir/source" "$dir/build" "$prefix"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d" \
  "$apt_dir/preferences.d" "$dir/source"
cat > "$apt_dir/sources.list" <<EOF
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
EOF
apt_options=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::Etc::PreferencesParts=$apt_dir/preferences.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=$(id -un)"
  -o "Debug::NoLocking=1"
  -q
)
apt-get "${apt_options[@]}" update

# The newest version first; an older one when the newest cannot be fetched.
mapfile -t versions < <(apt-cache "${apt_options[@]}" madison expat | awk -F'|' '/Sources/ { gsub(/ /, "", $2); print $2 }' | sort -u -r -V)
if [ ${#versions[@]} -eq 0 ]; then
  echo "expat: no expat source package found in bookworm" >&2
  exit 1
fi
version=
for v in "${versions[@]}"; do
  if (cd "$dir/source" && apt-get "${apt_options[@]}" source --only-source "expat=$v"); then
    version=$v
    break
  fi
  echo "expat: version $v could not be fetched; trying an older one" >&2
done
if [ -z "$version" ]; then
  echo "expat: none of ${versions[*]} could be fetched" >&2
  exit 1
fi
upstream=${version%%-*}
source_dir=$dir/source/expat-$upstream/expat
if [ ! -f "$source_dir/CMakeLists.txt" ]; then
  echo "expat: $source_dir/CMakeLists.txt missing after unpacking" >&2
  exit 1
fi

cmake -S "$source_dir" -B "$dir/build" \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
  -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_FUZZERS=OFF \
  -DEXPAT_BUILD_PKGCONFIG=OFF

# Debian builds expat with autotools, whose configuration header defines the
# feature macros as 1; Debian's security patches test `XML_DTD == 1`, which
# the CMake header's empty definitions would break.
config=$dir/build/expat_config.h
sed -i -e 's/^#define XML_DTD$/#define XML_DTD 1/' -e 's/^#define XML_NS$/#define XML_NS 1/' "$config"
if ! grep -q '^#define XML_DTD 1$' "$config"; then
  echo "expat: $config does not define XML_DTD as 1" >&2
  exit 1
fi

cmake --build "$dir/build" -j "${JOBS:-2}"
cmake --install "$dir/build"
echo "$version" > "$stamp"
echo "expat: Debian's $version built in $prefix"
