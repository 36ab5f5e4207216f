#!/usr/bin/env bash
# Builds the release package dist/Kestrin-1.56.zip (Kestrin.exe, Kestrin.chm,
# a read-me for users) from a fresh build of this tree in build/release.
#
#   bash scripts/package.sh           the package
#   bash scripts/package.sh --check   also a second build from scratch in
#                                     build/release-check, and a comparison:
#                                     the same commit must give the same bytes
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

version=$(sed -n 's/^project(Kestrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
package="dist/Kestrin-$version.zip"

build_into() {
  rm -rf "$1"
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build "$1" --target Kestrin kestrin_help
  python3 scripts/package.py "$1" docs/user/README-ja.txt "$2"
}

build_into build/release "$package"
echo "package: $root/$package"

if [ "${1:-}" = "--check" ]; then
  build_into build/release-check build/release-check/package.zip
  for file in Kestrin.exe Kestrin.chm; do
    cmp "build/release/$file" "build/release-check/$file"
  done
  cmp "$package" build/release-check/package.zip
  echo "two builds from scratch gave the same bytes"
fi
