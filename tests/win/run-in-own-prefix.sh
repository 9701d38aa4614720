#!/usr/bin/env bash
# Runs a Wine test program with a printer set-up of its own, in a copy of
# this run's Wine prefix. The shared prefix is left alone: Wine writes the
# printers it finds, and the default one, into the prefix's registry, and
# tests running beside this one still need theirs.
#
# Usage: run-in-own-prefix.sh no-printer PROGRAM.exe [ARGUMENTS...]
#            Wine reaches no CUPS server and finds no printer at all.
#        run-in-own-prefix.sh long-printer-name PROGRAM.exe [ARGUMENTS...]
#            The run's printer $FORUM_LONG_PRINTER is the default printer;
#            exit code 77 (skipped) when the run has no such printer.
#        run-in-own-prefix.sh dpi-144 PROGRAM.exe [ARGUMENTS...]
#            The screen is set to 144 DPI (LogPixels), as a user sets 150 %.
set -euo pipefail

[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || { echo "run-in-own-prefix: no Wine prefix; run under tools/test-env.sh" >&2; exit 1; }

scratch=$(mktemp -d "${FORUM_TEST_RUN_DIR:-${TMPDIR:-/tmp}}/own-prefix.XXXXXX")
cleanup() {
    WINEPREFIX="$scratch/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

case "${1:-}" in
no-printer)
    shift
    export CUPS_SERVER="$scratch/no-cups.sock"
    export FORUM_EXPECT_NO_PRINTER=1
    ;;
long-printer-name)
    shift
    if [ -z "${FORUM_LONG_PRINTER:-}" ]; then
        echo "run-in-own-prefix: this run has no long-named printer (tools/test-env.sh adds it as root)"
        exit 77
    fi
    # libcups takes the default destination from PRINTER, and Wine with it.
    export PRINTER="$FORUM_LONG_PRINTER"
    export FORUM_EXPECT_DEFAULT_PRINTER="$FORUM_LONG_PRINTER"
    ;;
dpi-144)
    shift
    dpi=144
    export FORUM_EXPECT_DPI=$dpi
    ;;
*)
    echo "usage: run-in-own-prefix.sh no-printer|long-printer-name|dpi-144 PROGRAM.exe [ARGUMENTS...]" >&2
    exit 2
    ;;
esac

# Wine's system DLLs (nearly all of the prefix) are never written after the
# prefix is made: share them by hard links and copy only the rest, so that
# the copy costs little time and disk next to the tests running beside it.
copy="$scratch/prefix"
mkdir -p "$copy"
# The tests beside this one write the shared prefix meanwhile (Wine saves
# its registry there), so a file may change while it is read: tar says so
# with exit code 1, and the copy still holds one state of each file.
set +o pipefail
tar -C "$WINEPREFIX" --exclude=./drive_c/windows/system32 --warning=no-file-changed -cf - . | tar -C "$copy" -xf -
writer=${PIPESTATUS[0]}
set -o pipefail
[ "$writer" -le 1 ] || exit "$writer"
cp -al "$WINEPREFIX/drive_c/windows/system32" "$copy/drive_c/windows/system32"
export WINEPREFIX="$copy"
if [ -n "${dpi:-}" ]; then
    # Wine reads the screen's DPI from either key, depending on its version.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
wine "$@"
