#!/usr/bin/env bash
# Two desks emitting at once into one register: two `talvero --emitir-lista mil.csv --pdf`
# of 1,000 receipts without numbers (Talvero draws them) started together, against one such
# list alone, in wall-clock time, on a PostgreSQL server over loopback (started here with
# scripts/pg-test-server.sh and stopped at the end) and on one SQLite file. Launched in
# alternation, a fresh register each launch; the figure is the median of the ratios of
# neighbouring launches. Every run of two must leave 2,000 distinct numbers.
set -euo pipefail
program=$(realpath "${1:?usage: registro_a_la_vez.sh PROGRAM [RUNS]}")
runs=${2:-3}
filas=1000
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pg="$work/pg"
cleanup() { bash "$here/../scripts/pg-test-server.sh" stop "$pg" >/dev/null 2>&1 || true; rm -rf "$work"; }
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen HOME="$work"

{
    echo 'Fecha;Pagador;Dirección;Concepto 1;Importe 1'
    for i in $(seq "$filas"); do
        echo "01/03/2024;Socio número $i;C/ Mayor $((i % 90 + 1));Cuota de marzo de 2024;$((i % 700 + 300)),50"
    done
} >"$work/mil.csv"

median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }
now() { date +%s.%N; }

engines="postgresql sqlite"
bash "$here/../scripts/pg-test-server.sh" start "$pg"
if [ -f "$pg/skipped" ]; then
    echo "registro_a_la_vez: no PostgreSQL server here ($(cat "$pg/skipped")): the file alone" >&2
    engines=sqlite
else
    export PGPASSFILE="$pg/pgpass"
    base_uri=$(cat "$pg/uri")
fi

# A fresh register for the next launch: a folder of its own and, on the server, a database.
fresh() { # ENGINE (in a subshell of its caller: the count is kept in a file)
    local launch=$(( $(cat "$work/launches" 2>/dev/null || echo 0) + 1 ))
    echo "$launch" >"$work/launches"
    run="$work/run$launch"
    mkdir -p "$run/config/Quenlaria" "$run/data"
    if [ "$1" = postgresql ]; then
        psql -X -q "$base_uri" -c "CREATE DATABASE vez_$launch" >/dev/null
        uri="${base_uri%/talvero*}/vez_$launch?sslmode=disable"
        printf '[Aplicacion%%20Talvero]\nRegistro=%s\n' "$uri" >"$run/config/Quenlaria/talvero.conf"
    fi
}
emit() { # PDF: one list into the register of the current launch
    XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data" \
        "$program" --emitir-lista "$work/mil.csv" --pdf "$1" >/dev/null 2>"$1.err" ||
        { echo "registro_a_la_vez: $(cat "$1.err")" >&2; return 1; }
}
distinct() { # ENGINE: the distinct numbers in the current launch's register
    if [ "$1" = postgresql ]; then
        psql -X -tA "$uri" -c 'SELECT count(DISTINCT numero) FROM recibos'
    else
        sqlite3 "$run/data/Quenlaria/Talvero/recibos.sqlite" \
            'SELECT count(DISTINCT numero) FROM recibos'
    fi
}
alone() { # ENGINE: seconds for one list
    fresh "$1"
    local t0; t0=$(now)
    emit "$run/a.pdf"
    echo "$(now) - $t0" | bc -l
}
together() { # ENGINE: seconds for two lists at once
    fresh "$1"
    local t0 a b; t0=$(now)
    emit "$run/a.pdf" & a=$!
    emit "$run/b.pdf" & b=$!
    wait "$a" && wait "$b"
    local t; t=$(echo "$(now) - $t0" | bc -l)
    local n; n=$(distinct "$1")
    [ "$n" = $((2 * filas)) ] || { echo "registro_a_la_vez: $1: $n distinct numbers, not $((2 * filas))" >&2; return 1; }
    echo "$t"
}

for engine in $engines; do
    alone "$engine" >/dev/null # warm the page cache and the server
    t_one=() t_two=() ratios=()
    for i in $(seq "$runs"); do
        if (( i % 2 )); then a=$(alone "$engine"); b=$(together "$engine")
        else b=$(together "$engine"); a=$(alone "$engine"); fi
        t_one+=("$a") t_two+=("$b") ratios+=("$(echo "$b / $a" | bc -l)")
    done
    printf 'two_lists_%-10s alone %6.2f s  two at once %6.2f s  ratio %.2fx  (goal <= 1.5x), %d distinct numbers\n' \
        "$engine" "$(median "${t_one[@]}")" "$(median "${t_two[@]}")" "$(median "${ratios[@]}")" \
        $((2 * filas))
done
