#!/bin/sh
# Every class of Talvero lives in one binary of the process: its table of functions, its type
# and its metaobject are defined in the program, in libtalvero-comun.so or in the module, never
# in two of them (two metaobjects of one class make a cast across them fail without a word).
# The standard library's and Qt's types, which those libraries' headers emit wherever they are
# used, do not count, nor do the types of functions and references that the sanitizers' checks
# emit.
# Usage: check_one_binary_per_class.sh PROGRAM COMMON_LIBRARY MODULE
set -u
[ "$#" -eq 3 ] || { echo "usage: check_one_binary_per_class.sh PROGRAM COMMON_LIBRARY MODULE"; exit 2; }
command -v nm >/dev/null 2>&1 || { echo "FAIL: nm (binutils) is missing"; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/talvero-classes.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT INT TERM
for binary in "$@"; do
    [ -f "$binary" ] || { echo "FAIL: $binary has not been built"; exit 1; }
    nm -C --defined-only "$binary" |
        sed -n 's/^[0-9a-f]* [A-Za-z] \(vtable for \|typeinfo for \)\{0,1\}\(.*\)$/\1\2/p' |
        grep -E '^vtable for |^typeinfo for [A-Za-z_][A-Za-z0-9_:]*$|::staticMetaObject$' |
        grep -v -E '^(vtable|typeinfo) for (std::|__gnu_cxx::|__cxxabiv1::|Q)' | sort -u
done >"$work/all"
twice=$(sort "$work/all" | uniq -d)
if [ -n "$twice" ]; then
    echo "FAIL: defined in more than one binary:"
    echo "$twice"
    exit 1
fi
echo "OK: $(wc -l <"$work/all") tables, types and metaobjects, each in one binary"
