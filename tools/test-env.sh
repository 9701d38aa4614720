#!/usr/bin/env bash
# Runs a command (normally ctest) inside the environment that the Wine-side
# and end-to-end tests need:
#   - a private Xvfb display, on a display number Xvfb picks itself;
#   - a CUPS server with a default PDF printer (cups-pdf), started if none runs;
#   - a Wine prefix made for this run, never the user's ~/.wine;
#   - one wineserver kept alive for the whole run, so test processes start fast.
# Everything started here is stopped again, by process id, when the command ends.
set -uo pipefail

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/forum-editor-test.XXXXXX")
xvfb_pid="" cupsd_pid="" wineserver_pid=""

stop_all() {
    if [ -n "$wineserver_pid" ]; then
        WINEPREFIX="$run_dir/wineprefix" wineserver -k 2>/dev/null
        kill "$wineserver_pid" 2>/dev/null
        wait "$wineserver_pid" 2>/dev/null
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
    rm -rf "$run_dir"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

fail() { echo "test-env: $*" >&2; exit 1; }

start_display() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run_dir/display" 2>"$run_dir/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$run_dir/display" ] && break
        sleep 0.1
    done
    [ -s "$run_dir/display" ] || fail "Xvfb did not start: $(cat "$run_dir/xvfb.log")"
    export DISPLAY=":$(head -n1 "$run_dir/display")"
}

cups_running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

start_printer() {
    if ! cups_running; then
        if [ "$(id -u)" -ne 0 ]; then
            echo "test-env: no CUPS server and not root: printing tests will find no printer" >&2
            return
        fi
        /usr/sbin/cupsd -f &
        cupsd_pid=$!
        for _ in $(seq 100); do cups_running && break; sleep 0.1; done
        cups_running || fail "cupsd did not start"
    fi
    if ! lpstat -p PDF >/dev/null 2>&1; then
        lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd || fail "cannot add the PDF printer"
    fi
    lpadmin -d PDF >/dev/null
}

start_wine() {
    export WINEPREFIX="$run_dir/wineprefix" WINEDEBUG=-all WINEARCH=win64
    mkdir -p "$WINEPREFIX"
    wineserver -p -f &
    wineserver_pid=$!
    # No Mono or Gecko install prompts in a test prefix. Wine may repair its
    # shared temporary directory on the first try and ask to run again.
    local attempt
    for attempt in 1 2 3; do
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >"$run_dir/wineboot.log" 2>&1 && break
        [ "$attempt" -eq 3 ] && fail "wineboot failed: $(tail -n 5 "$run_dir/wineboot.log")"
        sleep 1
    done
    # The first process after adding a printer can still miss it; let one run.
    # No window manager runs on the test display: tell Wine so, or it waits
    # up to two seconds for one whenever a window is hidden or destroyed.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine cmd /c exit >/dev/null 2>&1
}

start_display
start_printer
start_wine
export FORUM_TEST_RUN_DIR="$run_dir"
export FORUM_TEST_ARTIFACTS="${FORUM_TEST_ARTIFACTS:-$PWD/build/test-artifacts}"
mkdir -p "$FORUM_TEST_ARTIFACTS"

"$@"
