#!/usr/bin/env bash
# What VERI*FACTU adds to a month's list: `talvero --emitir-lista mil.csv --pdf` on 1,000
# invoices with the payer's NIF (each checked, given its QR code and its chained alta in the
# register) against the same list with the mode off. Launched in alternation, each with an
# empty register; the figure is the median of the ratios of neighbouring launches' CPU time.
set -euo pipefail
program=${1:?usage: lista_verifactu.sh PROGRAM [RUNS]}
runs=${2:-5}
pages=1000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HOME="$work"

hoy=$(date +%d/%m/%Y)
{
    echo 'Número;Fecha;Pagador;NIF del pagador;Dirección;Concepto 1;Importe 1;% IVA'
    for i in $(seq "$pages"); do
        echo "F-$i;$hoy;Socio número $i;00000000T;C/ Mayor $((i % 90 + 1));Cuota del local;$((i % 700 + 300)),50;21"
    done
} >"$work/mil.csv"

median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

# One launch's CPU seconds, with the mode `$1` ("true" or "false") and an empty register.
cpu() {
    rm -rf "$work/run" && mkdir -p "$work/run/config/Quenlaria"
    printf '[Aplicacion%%20Talvero]\nVerifactuActivo=%s\nEmisorNif=12345678Z\nEmisorNombre=TALLERES GIL SL\nVerifactuServidor=pruebas\nTiposIVA="0;4;10;21"\n' \
        "$1" >"$work/run/config/Quenlaria/talvero.conf"
    XDG_CONFIG_HOME="$work/run/config" XDG_DATA_HOME="$work/run/data" \
        /usr/bin/time -f '%e %U %S' -o "$work/time" \
        "$program" --emitir-lista "$work/mil.csv" --pdf "$work/run/mil.pdf" >/dev/null 2>&1
    awk '{ print $2 + $3 }' "$work/time"
}

cpu true >/dev/null; cpu false >/dev/null # warm the page cache
ratios=()
for i in $(seq "$runs"); do
    if (( i % 2 )); then a=$(cpu true); b=$(cpu false); else b=$(cpu false); a=$(cpu true); fi
    ratios+=("$(echo "$a / $b" | bc -l)")
done
printf 'list_1000_verifactu  with records against without  ratio %.2fx  (goal <= 1.10x)\n' \
    "$(median "${ratios[@]}")"
