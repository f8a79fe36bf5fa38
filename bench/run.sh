#!/usr/bin/env bash
# Runs every benchmark program of a build (named bench_*) with repetitions, and prints the
# medians; then the ratios against plain Qt, and the whole program's start-up. Qt benchmarks
# run on the offscreen platform.
set -euo pipefail
build=${1:-build-bench}
export QT_QPA_PLATFORM=offscreen
status=0
# The register on both engines starts a server of its own: run once, below, with its goals.
for exe in $(find "$build/bench" -type f -name 'bench_*' ! -name bench_registro_motores \
                 -perm -u+x | sort); do
  echo "== $(basename "$exe")"
  "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
         --benchmark_min_time=0.2 2>&1 | grep -E '^(Benchmark|-|.*_median|Run on|Load)' || status=1
done
# One benchmark against its floor in the same program: launched in alternation, RUNS pairs;
# the machine is noisy, so what counts is the median of the ratios of neighbouring launches.
# The times are CPU times: both sides draw or type on one thread, and on a shared machine the
# wall clock mostly measures the other users. A warm-up comes first: a 600-dpi page runs only
# a few iterations, and the first one also fills the caches of glyphs and fonts.
one_time() { # EXE NAME: the benchmark's CPU time per iteration
    "$1" --benchmark_filter="^$2\$" --benchmark_min_time=0.2 --benchmark_min_warmup_time=0.1 \
        --benchmark_format=csv 2>/dev/null |
        awk -F, -v n="\"$2\"" '$1 == n || $1 == substr(n, 2, length(n) - 2) { print $4 }'
}
paired() { # LABEL GOAL EXE PROGRAM FLOOR
    local label=$1 goal=$2 exe=$3 prog=$4 floor=$5 ratios=() tp=() tf=() a b
    for i in $(seq "${RUNS:-11}"); do
        if (( i % 2 )); then a=$(one_time "$exe" "$prog"); b=$(one_time "$exe" "$floor");
        else b=$(one_time "$exe" "$floor"); a=$(one_time "$exe" "$prog"); fi
        [ -n "$a" ] && [ -n "$b" ] || { echo "$label: $prog or $floor gave no time" >&2; return 1; }
        tp+=("$a") tf+=("$b") ratios+=("$(echo "$a / $b" | bc -l)")
    done
    median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }
    printf '%-20s talvero %10.3f  plain Qt %10.3f  ratio %.2fx  (goal <= %sx)\n' "$label" \
        "$(median "${tp[@]}")" "$(median "${tf[@]}")" "$(median "${ratios[@]}")" "$goal"
}
echo "== ratios against plain Qt (median of $((${RUNS:-11})) paired launches; CPU times per iteration)"
paired pdf_page_600dpi 1.1 "$build/bench/receipt/bench_receipt" BM_DibujarPdf BM_PdfPlainQt || status=1
paired image_page_600dpi 1.0 "$build/bench/receipt/bench_receipt" BM_DibujarImage600 \
    BM_Image600PlainQt || status=1
paired keystroke_euro_1007 1.2 "$build/bench/form/bench_form" KeystrokeInEuroEdit \
    KeystrokeBareDialog || status=1

# The register on the SQLite file and on a PostgreSQL server over loopback, 100,000 receipts:
# the wall-clock medians (the server works in processes of its own), in milliseconds.
echo "== the register on both engines (median of 5; wall-clock ms)"
"$build/bench/register/bench_registro_motores" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_min_time=0.2 --benchmark_format=csv \
    2>/dev/null | awk -F, '
    function show(label, key, goal) {
        printf "%-26s sqlite %8.2f  postgresql %8.2f  (goal <= %s ms)\n", label,
            t[key "/motor:0" rest[key]], t[key "/motor:1" rest[key]], goal
    }
    { name = $1; gsub(/"/, "", name) }
    name ~ /_median$/ { sub(/_median$/, "", name); t[name] = $3 }
    END {
        rest["Busqueda"] = "/nada:0"
        show("record_one_receipt", "AnotarUno", 5)
        show("window_first_rows", "PrimerasFilas", 50)
        show("search_found", "Busqueda", 50)
        rest["Busqueda"] = "/nada:1"
        show("search_nothing_found", "Busqueda", 50)
    }' || status=1

echo "== talvero (the whole program)"
bash "$(dirname "$0")/startup.sh" "$build/app/talvero" "$build/bench/startup/talvero_bare_dialog" || status=1
bash "$(dirname "$0")/lista.sh" "$build/app/talvero" "$build/bench/lista/talvero_bare_lista" || status=1
bash "$(dirname "$0")/lista_verifactu.sh" "$build/app/talvero" || status=1
bash "$(dirname "$0")/registro_a_la_vez.sh" "$build/app/talvero" || status=1
exit $status
