#!/usr/bin/env bash
# Runs a Wine test program where Wine finds no printer at all: in a copy of
# this run's Wine prefix whose processes reach no CUPS server. The shared
# prefix is left alone, since Wine drops vanished printers from the prefix's
# registry and tests running beside this one still need theirs.
# Usage: run-without-printer.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail

[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || { echo "run-without-printer: no Wine prefix; run under tools/test-env.sh" >&2; exit 1; }

scratch=$(mktemp -d "${FORUM_TEST_RUN_DIR:-${TMPDIR:-/tmp}}/no-printer.XXXXXX")
cleanup() {
    WINEPREFIX="$scratch/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

cp -a "$WINEPREFIX" "$scratch/prefix"
export WINEPREFIX="$scratch/prefix"
export CUPS_SERVER="$scratch/no-cups.sock"
export FORUM_EXPECT_NO_PRINTER=1
wine "$@"
