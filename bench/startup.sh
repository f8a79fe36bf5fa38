#!/usr/bin/env bash
# The whole program as a user starts it, side by side with a bare Qt dialog holding the same
# widgets and menu bar (FLOOR): process start to the window shown and closed again through
# its cancel path (TALVERO_TEST_AUTOCLOSE_MS=1), with a throw-away settings folder, launched
# in alternation on the offscreen platform and under Xvfb. The machine is noisy, so what
# counts is the median of the ratios of each pair of neighbouring launches; the medians of
# wall time and peak memory are printed too.
set -euo pipefail
program=${1:?usage: startup.sh PROGRAM FLOOR [RUNS]}
floor=${2:?usage: startup.sh PROGRAM FLOOR [RUNS]}
runs=${3:-21}
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export TALVERO_TEST_AUTOCLOSE_MS=1

median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

# One launch: prints "microseconds KiB".
launch() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$1" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000 )) $(cat "$work/rss")"
}

# Interleaved launches on the current platform; prints the figures of one platform.
compare() {
    local label=$1 t_prog=() t_floor=() m_prog=() m_floor=() r_time=() r_mem=()
    launch "$program" >/dev/null; launch "$floor" >/dev/null # warm the page cache
    for i in $(seq "$runs"); do
        local a b
        # Alternate which one goes first, so that neither always follows the other.
        if (( i % 2 )); then a=$(launch "$program"); b=$(launch "$floor");
        else b=$(launch "$floor"); a=$(launch "$program"); fi
        t_prog+=(${a% *}) m_prog+=(${a#* }) t_floor+=(${b% *}) m_floor+=(${b#* })
        r_time+=("$(echo "${a% *} / ${b% *}" | bc -l)")
        r_mem+=("$(echo "${a#* } / ${b#* }" | bc -l)")
    done
    printf 'startup_%-10s talvero %7.1f ms  bare dialog %7.1f ms  ratio %.2fx\n' "$label" \
        "$(echo "$(median "${t_prog[@]}") / 1000" | bc -l)" \
        "$(echo "$(median "${t_floor[@]}") / 1000" | bc -l)" "$(median "${r_time[@]}")"
    printf 'peak_memory_%-6s talvero %7.1f MB  bare dialog %7.1f MB  ratio %.2fx\n' "$label" \
        "$(echo "$(median "${m_prog[@]}") / 1024" | bc -l)" \
        "$(echo "$(median "${m_floor[@]}") / 1024" | bc -l)" "$(median "${r_mem[@]}")"
}

QT_QPA_PLATFORM=offscreen compare offscreen

if command -v Xvfb >/dev/null; then
    display=:$(( 90 + RANDOM % 400 ))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -S "/tmp/.X11-unix/X${display#:}" ] && break
        sleep 0.1
    done
    DISPLAY=$display QT_QPA_PLATFORM=xcb compare xvfb
else
    echo "startup_xvfb: Xvfb is not installed, skipped"
fi
