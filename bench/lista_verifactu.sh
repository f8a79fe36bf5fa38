#!/usr/bin/env bash
# What VERI*FACTU adds to a month's list: `talvero --emitir-lista mil.csv --pdf` on 1,000
# invoices with the payer's NIF (each checked, given its QR code and its chained alta in the
# register) against the same list with the mode off. Launched in alternation, each with an
# empty register; the figure is the median of the ratios of neighbouring launches' CPU time.
set -euo pipefail
program=${1:?usage: lista_verifactu.sh PROGRAM [RUNS]}
runs=${2:-5}
pages=1000
source "$(dirname "$0")/lanzamientos.sh"

hoy=$(date +%d/%m/%Y)
row() {
    echo "F-$1;$hoy;Socio número $1;00000000T;C/ Mayor $(($1 % 90 + 1));Cuota del local;$(($1 % 700 + 300)),50;21"
}
write_list 'Número;Fecha;Pagador;NIF del pagador;Dirección;Concepto 1;Importe 1;% IVA'

# One launch with the mode `$1` ("true" or "false").
run_mode() {
    fresh_run
    printf '[Aplicacion%%20Talvero]\nVerifactuActivo=%s\nEmisorNif=12345678Z\nEmisorNombre=TALLERES GIL SL\nVerifactuServidor=pruebas\nTiposIVA="0;4;10;21"\n' \
        "$1" >"$work/run/config/Quenlaria/talvero.conf"
    cpu "$program" --emitir-lista "$work/mil.csv" --pdf "$work/run/mil.pdf"
}
run_on() { run_mode true; }
run_off() { run_mode false; }

alternate run_on run_off
printf 'list_1000_verifactu  with records against without  ratio %.2fx  (goal <= 1.10x)\n' \
    "$(median "${ratios[@]}")"
