#!/usr/bin/env bash
# Writes the portable packages: BUILD/dist/Kelvane-<version>-<arch>.zip for the
# 64-bit (win64) and 32-bit (win32) builds. Each holds the application directory,
# as the program expects it, in a folder named Kelvane.
set -euo pipefail
build=$(realpath "${1:-build}")
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Kelvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
out="$build/dist"
mkdir -p "$out"
for arch in win64 win32; do
  app="$build/$arch/app"
  [ -f "$app/Kelvane.exe" ] || { echo "dist: $app/Kelvane.exe is missing; build $arch first" >&2; exit 1; }
  stage=$(mktemp -d)
  cp -r "$app" "$stage/Kelvane"
  zip_file="$out/Kelvane-$version-$arch.zip"
  rm -f "$zip_file"
  (cd "$stage" && zip -q -r -X "$zip_file" Kelvane)
  rm -rf "$stage"
  printf 'dist: %s (%s bytes; Kelvane.exe %s bytes)\n' "$zip_file" "$(stat -c %s "$zip_file")" \
    "$(stat -c %s "$app/Kelvane.exe")"
done
