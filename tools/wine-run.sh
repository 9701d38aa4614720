#!/usr/bin/env bash
# Runs a Windows test program under Wine for ctest. Now and then, under
# load, Wine ends a program before it has run at all: non-zero exit, not a
# byte of output. Only that case is tried once more, and said so; a program
# that ran and failed is reported as it is.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
wine "$@" >"$out" 2>&1
status=$?
if [ "$status" -ne 0 ] && [ ! -s "$out" ]; then
    echo "wine-run: Wine ended $1 before it ran (exit $status); starting it once more" >&2
    wine "$@" >"$out" 2>&1
    status=$?
fi
cat "$out"
exit "$status"
