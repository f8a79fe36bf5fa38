#!/usr/bin/env bash
# The whole program as a user starts it: process start to the form shown and closed again
# through its cancel path (TALVERO_TEST_AUTOCLOSE_MS=1), on the offscreen platform with a
# throw-away settings folder. Prints the median wall time and the median peak memory.
set -euo pipefail
program=${1:?usage: startup.sh PROGRAM [RUNS]}
runs=${2:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HOME="$work" XDG_CONFIG_HOME="$work/config"
export TALVERO_TEST_AUTOCLOSE_MS=1
times=() rss=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$program" >/dev/null 2>&1
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
  rss+=($(cat "$work/rss"))
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
printf 'startup_to_form_shown_and_closed_median %8.1f ms\n' "$(echo "$(median "${times[@]}") / 1000" | bc -l)"
printf 'peak_resident_memory_median            %8d KiB\n' "$(median "${rss[@]}")"
