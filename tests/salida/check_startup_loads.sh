#!/bin/sh
# A start-up that shows the form and closes it must not load printing, the PDF writer's
# print support, SQL, the print server's library or the QR code's: the dynamic loader lists every library
# it initialises, and none of those may be among them.
set -u
program=${1:?usage: check_startup_loads.sh PROGRAM}
[ -x "$program" ] || { echo "the program has not been built ($program)"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/talvero-loads.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT INT TERM
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    QT_QPA_PLATFORM=offscreen TALVERO_TEST_AUTOCLOSE_MS=1 LD_DEBUG=libs \
    LD_DEBUG_OUTPUT="$work/ld" "$program" >/dev/null 2>&1 || { echo "the program failed"; exit 1; }
cat "$work"/ld.* >"$work/all"
grep -q 'calling init: .*libQt6Widgets' "$work/all" || { echo "no loader trace"; exit 1; }
if grep -E 'calling init: .*(libQt6PrintSupport|libQt6Sql|libcups|libqrencode|libtalvero-salida)' "$work/all"; then
    echo "FAIL: the start-up loaded the libraries above"
    exit 1
fi
echo "OK: $(grep -c 'calling init' "$work/all") libraries initialised, none for printing or the register"
