# Sourced by the benchmarks that launch the whole program on a list of `pages` rows: a work
# folder removed at exit, the list, one launch's CPU time and launches in alternation. The
# machine is noisy, so the figure is the median of the ratios of neighbouring launches.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HOME="$work"

# "$work/mil.csv": the header $1, then the caller's `row N` for each of the `pages` rows.
write_list() {
    {
        echo "$1"
        for i in $(seq "$pages"); do row "$i"; done
    } >"$work/mil.csv"
}

median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

# A fresh folder for each launch's settings and register.
fresh_run() { rm -rf "$work/run" && mkdir -p "$work/run/config/Quenlaria"; }

# The CPU seconds (user + system) of the command "$@", run with the settings and the data
# of "$work/run".
cpu() {
    XDG_CONFIG_HOME="$work/run/config" XDG_DATA_HOME="$work/run/data" \
        /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>&1
    awk '{ print $2 + $3 }' "$work/time"
}

# The commands $1 and $2 launched `runs` times each in alternation, after one warm-up launch of
# each (the page cache): their CPU times in t_a and t_b, the ratios a / b in `ratios`.
alternate() {
    local first=$1 second=$2 a b
    "$first" >/dev/null; "$second" >/dev/null
    t_a=() t_b=() ratios=()
    for i in $(seq "$runs"); do
        if (( i % 2 )); then a=$("$first"); b=$("$second"); else b=$("$second"); a=$("$first"); fi
        t_a+=("$a") t_b+=("$b") ratios+=("$(echo "$a / $b" | bc -l)")
    done
}
