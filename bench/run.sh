#!/usr/bin/env bash
# Runs every benchmark program of a build (named bench_*) with repetitions, and prints the
# medians. Qt benchmarks run on the offscreen platform.
set -euo pipefail
build=${1:-build-bench}
export QT_QPA_PLATFORM=offscreen
status=0
for exe in $(find "$build/bench" -type f -name 'bench_*' -perm -u+x | sort); do
  echo "== $(basename "$exe")"
  "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
         --benchmark_min_time=0.2 2>&1 | grep -E '^(Benchmark|-|.*_median|Run on|Load)' || status=1
done
echo "== talvero (the whole program)"
bash "$(dirname "$0")/startup.sh" "$build/app/talvero" "$build/bench/startup/talvero_bare_dialog" || status=1
exit $status
