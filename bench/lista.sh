#!/usr/bin/env bash
# A month's list as a user emits it, the whole process: `talvero --emitir-lista mil.csv --pdf`
# (1,000 rows of number, date, payer, address, one concept and amount; an empty register each
# run) side by side with a bare program that draws the same receipt page 1,000 times into a
# QPdfWriter set up the same way (FLOOR). Launched in alternation; the figure is the median of
# the ratios of neighbouring launches' CPU time (user + system), per page.
set -euo pipefail
program=${1:?usage: lista.sh PROGRAM FLOOR [RUNS]}
floor=${2:?usage: lista.sh PROGRAM FLOOR [RUNS]}
runs=${3:-5}
pages=1000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HOME="$work"

{
    echo 'Número;Fecha;Pagador;Dirección;Concepto 1;Importe 1'
    for i in $(seq "$pages"); do
        echo "$i;01/03/2024;Socio número $i;C/ Mayor $((i % 90 + 1)), $((i % 9 + 1))º;Cuota de marzo de 2024;$((i % 700 + 300)),50"
    done
} >"$work/mil.csv"

median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

# One launch's CPU seconds; each gets a fresh settings folder and an empty register.
cpu() {
    rm -rf "$work/run" && mkdir -p "$work/run"
    XDG_CONFIG_HOME="$work/run/config" XDG_DATA_HOME="$work/run/data" \
        /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>&1
    awk '{ print $2 + $3 }' "$work/time"
}
run_program() { cpu "$program" --emitir-lista "$work/mil.csv" --pdf "$work/run/mil.pdf"; }
run_floor() { cpu "$floor" "$work/run/mil.pdf" "$pages"; }

run_program >/dev/null; run_floor >/dev/null # warm the page cache
t_prog=() t_floor=() ratios=()
for i in $(seq "$runs"); do
    if (( i % 2 )); then a=$(run_program); b=$(run_floor); else b=$(run_floor); a=$(run_program); fi
    t_prog+=("$a") t_floor+=("$b") ratios+=("$(echo "$a / $b" | bc -l)")
done
printf 'list_1000_pdf       talvero %7.2f ms/page  bare QPdfWriter %7.2f ms/page  ratio %.2fx  (goal <= 1.3x)\n' \
    "$(echo "$(median "${t_prog[@]}") * 1000 / $pages" | bc -l)" \
    "$(echo "$(median "${t_floor[@]}") * 1000 / $pages" | bc -l)" "$(median "${ratios[@]}")"
