#!/bin/sh
# Fails when a program file spells the distributor's name, in any case and in any of the
# encodings `strings` knows (single-byte, and 16- and 32-bit in both byte orders, which is
# how QString literals are stored). Exit 77 (skipped) while the file has not been built.
# Usage: check_no_plain_names.sh FILE
set -u
file=${1:?usage: check_no_plain_names.sh FILE}
if [ ! -f "$file" ]; then
    echo "FAIL: $file has not been built"
    exit 1
fi
command -v strings >/dev/null 2>&1 || { echo "FAIL: strings (binutils) is missing"; exit 1; }

found=0
for encoding in S l b L B; do
    hits=$(strings -a -n 4 -e "$encoding" "$file" | grep -i 'quenlaria')
    if [ -n "$hits" ]; then
        echo "FAIL: $file spells the distributor's name (strings -e $encoding):"
        echo "$hits" | head -n 5
        found=1
    fi
done
[ "$found" -eq 0 ] && echo "OK: no plain distributor name in $file"
exit "$found"
