#!/usr/bin/env bash
# Runs every fuzz target for a bounded time and writes a summary.
#   fuzz/run.sh FUZZ_BUILD_DIR SECONDS REPORT [MERGE]
# Each target starts from its committed corpus and regression inputs (read only);
# what it finds new goes to FUZZ_BUILD_DIR/work/<target>. With MERGE=1 the inputs
# that add coverage are merged back into fuzz/corpus/<target>. A crash or broken
# property leaves its input in FUZZ_BUILD_DIR/findings/<target>/ and fails the run:
# copy it to fuzz/regressions/<target>/ once the reader is mended.
set -uo pipefail

build=$1 seconds=$2 report=$3 merge=${4:-0}
root=$(cd "$(dirname "$0")/.." && pwd)
targets=(item_reader tool_catalogue record_text ini_rules png)

summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
printf '%-16s %8s %12s %10s %10s  %s\n' target seconds executions exec/s new result >"$summary"
failed=0
for target in "${targets[@]}"; do
  work=$build/work/$target findings=$build/findings/$target log=$build/logs/$target.log
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  corpora=("$root/fuzz/corpus/$target")
  [ -d "$root/fuzz/regressions/$target" ] && corpora+=("$root/fuzz/regressions/$target")
  echo "fuzz: $target for ${seconds}s"
  "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" "${corpora[@]}" >"$log" 2>&1
  status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  added=$(sed -n 's/^stat::new_units_added: *//p' "$log")
  result=ok
  if [ "$status" -ne 0 ]; then
    failed=1
    result="FAILED: $(grep -m1 -o 'Test unit written to .*' "$log" || echo "exit $status, see $log")"
    grep -m1 -A12 -E '^==[0-9]+==|^SUMMARY' "$log" >&2
  fi
  printf '%-16s %8s %12s %10s %10s  %s\n' "$target" "$seconds" "${executions:-?}" "${rate:-?}" "${added:-?}" \
    "$result" >>"$summary"
  if [ "$merge" = 1 ] && [ "$status" -eq 0 ]; then
    "$build/fuzz_$target" -merge=1 "$root/fuzz/corpus/$target" "$work" >>"$log" 2>&1 ||
      echo "fuzz: merging $target failed, see $log" >&2
  fi
done

mkdir -p "$(dirname "$report")"
cp "$summary" "$report"
cat "$report"
echo "fuzz: report written to $report"
exit "$failed"
