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
source "$(dirname "$0")/lanzamientos.sh"

row() {
    echo "$1;01/03/2024;Socio número $1;C/ Mayor $(($1 % 90 + 1)), $(($1 % 9 + 1))º;Cuota de marzo de 2024;$(($1 % 700 + 300)),50"
}
write_list 'Número;Fecha;Pagador;Dirección;Concepto 1;Importe 1'

run_program() { fresh_run; cpu "$program" --emitir-lista "$work/mil.csv" --pdf "$work/run/mil.pdf"; }
run_floor() { fresh_run; cpu "$floor" "$work/run/mil.pdf" "$pages"; }

alternate run_program run_floor
printf 'list_1000_pdf       talvero %7.2f ms/page  bare QPdfWriter %7.2f ms/page  ratio %.2fx  (goal <= 1.3x)\n' \
    "$(echo "$(median "${t_a[@]}") * 1000 / $pages" | bc -l)" \
    "$(echo "$(median "${t_b[@]}") * 1000 / $pages" | bc -l)" "$(median "${ratios[@]}")"
