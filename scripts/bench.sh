#!/usr/bin/env bash
# Runs every benchmark program of a Windows build (bin/*_bench.exe) under Wine and
# gathers their tables into one report. Run inside scripts/wine-env.sh.
# Each benchmark prints rows of: figure, measured, aim, met.
set -euo pipefail
build=$(realpath "$1")
report=$(realpath -m "$2")
{
  printf '%-56s %12s %12s %6s\n' "figure" "measured" "aim" "met"
  for bench in "$build"/bin/*_bench.exe; do
    (cd "$build/bin" && wine "$bench" 2>/dev/null) | tr -d '\r' || echo "$(basename "$bench") failed"
  done
} | tee "$report"
echo "report: $report"
