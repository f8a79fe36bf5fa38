#!/usr/bin/env bash
# Runs the money-core fuzzer for a bounded time.
# Usage: fuzz/run.sh BUILD_DIR SECONDS
# The working corpus lives in BUILD_DIR/fuzz/corpus, seeded from fuzz/corpus; crash inputs
# are written to BUILD_DIR/fuzz/artifacts. Exits non-zero when the fuzzer finds a crash.
set -euo pipefail
build=${1:?usage: fuzz/run.sh BUILD_DIR SECONDS}
seconds=${2:?usage: fuzz/run.sh BUILD_DIR SECONDS}
here=$(cd "$(dirname "$0")" && pwd)

exe="$build/fuzz/fuzz_amounts"
corpus="$build/fuzz/corpus"
artifacts="$build/fuzz/artifacts"
[ -x "$exe" ] || { echo "fuzz/run.sh: $exe not built (configure with -DTALVERO_FUZZ=ON)" >&2; exit 2; }
mkdir -p "$corpus" "$artifacts"
for seed in "$here"/corpus/*; do
  [ -e "$corpus/$(basename "$seed")" ] || cp "$seed" "$corpus/"
done

"$exe" -max_total_time="$seconds" -timeout=10 -max_len=4096 -print_final_stats=1 \
       -artifact_prefix="$artifacts/" "$corpus"
