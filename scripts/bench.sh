#!/usr/bin/env bash
# The benchmark report: runs every benchmark program of a Windows build
# (bin/*_bench.exe) under Wine, adds the sizes of the packages and programs, and
# writes one table to the report file. Run inside scripts/wine-env.sh:
#   scripts/bench.sh BUILD/win64 REPORT
# Each benchmark prints rows of: figure, measured, aim, met.
set -euo pipefail
build=$(realpath "$1")
report=$(realpath -m "$2")
dist="$build/../dist"

size_row() {  # figure, file
  if [ -f "$2" ]; then
    printf '%-60s %12s %14s %6s\n' "$1" "$(stat -c %s "$2")" "-" "-"
  else
    printf '%-60s %12s %14s %6s\n' "$1" "missing" "-" "-"
  fi
}

{
  printf '%-60s %12s %14s %6s\n' "figure" "measured" "aim" "met"
  for bench in "$build"/bin/*_bench.exe; do
    (cd "$build/bin" && wine "$bench" 2>/dev/null) | tr -d '\r' || echo "$(basename "$bench") failed"
  done
  for zip in "$dist"/Kelvane-*-win64.zip "$dist"/Kelvane-*-win32.zip; do
    size_row "package $(basename "$zip") (bytes)" "$zip"
  done
  for arch in win64 win32; do
    size_row "Kelvane.exe, $arch (bytes)" "$build/../$arch/app/Kelvane.exe"
  done
} | tee "$report"
echo "report: $report"
