#!/usr/bin/env bash
# Runs a command (normally ctest) inside the environment that the Wine-side
# and end-to-end tests need:
#   - a private Xvfb display, on a display number Xvfb picks itself;
#   - a CUPS server of this run's own (as root) with a default PDF printer
#     (cups-pdf), on a socket in the run directory, so that runs side by side
#     never see or stop each other's printer; jobs land in FORUM_PDF_DIR; a
#     second PDF printer, FORUM_LONG_PRINTER, has a very long name;
#   - a Wine prefix made for this run, never the user's ~/.wine;
#   - a Czech locale (cs_CZ.UTF-8), so that Wine runs the program with a
#     Czech display language and code page 1250; the tests of the English
#     interface set an English one for themselves;
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
    # A test that mounted something in the run directory and could not
    # unmount it (killed by a timeout) must not leave it behind.
    findmnt -rn -o TARGET 2>/dev/null | grep -F "$run_dir/" | sort -r | while read -r mount_point; do
        umount "$mount_point" 2>/dev/null
    done
    rm -rf "$run_dir"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

fail() { echo "test-env: $*" >&2; exit 1; }

start_display() {
    # -noreset: the keymap set below must outlive the clients that come and go.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$run_dir/display" 2>"$run_dir/xvfb.log" &
    xvfb_pid=$!
    # Up to 30 s: other programs may keep the machine busy.
    for _ in $(seq 300); do
        [ -s "$run_dir/display" ] && break
        sleep 0.1
    done
    [ -s "$run_dir/display" ] || fail "Xvfb did not start: $(cat "$run_dir/xvfb.log")"
    export DISPLAY=":$(head -n1 "$run_dir/display")"
    map_czech_letters
}

# Czech letters get keys of their own on the test keyboard, before any Wine
# program reads the keymap. Typed through keys that xdotool remaps on the
# fly instead, the first of them is now and then lost. Wine finds a virtual
# key for only a handful of extra keys, so each carries two letters, the
# second with Shift (capitals with accents are not on the keyboard).
map_czech_letters() {
    local keys=("93 = ecaron scaron" "97 = ccaron rcaron" "103 = zcaron yacute" "120 = aacute iacute"
                "132 = eacute uring" "149 = uacute ncaron" "154 = dcaron tcaron")
    local key expressions=()
    for key in "${keys[@]}"; do
        expressions+=(-e "keycode $key")
    done
    xmodmap "${expressions[@]}" || fail "cannot map the Czech letters on the test keyboard"
}

cups_running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

write_cups_config() {
    local root=$1
    mkdir -p "$root"/{spool,tmp,cache,state,log}
    # cupsd runs its filters as lp, which must reach its spool and temp files.
    chmod 711 "$run_dir"
    chown root:lp "$root/spool" "$root/tmp"
    chmod 0710 "$root/spool"
    chmod 1770 "$root/tmp"
    cat >"$root/cups-files.conf" <<EOF
SystemGroup root lpadmin
ServerRoot $root
RequestRoot $root/spool
TempDir $root/tmp
CacheDir $root/cache
StateDir $root/state
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
EOF
    cat >"$root/cupsd.conf" <<EOF
Listen $root/cups.sock
Browsing Off
WebInterface No
LogLevel warn
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
EOF
}

start_printer() {
    export FORUM_PDF_DIR
    FORUM_PDF_DIR="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
    if [ "$(id -u)" -ne 0 ]; then
        if cups_running && lpstat -p PDF >/dev/null 2>&1; then
            echo "test-env: not root: using the system's CUPS server and its PDF printer" >&2
        else
            echo "test-env: not root and no PDF printer: printing tests will find no printer" >&2
        fi
        return
    fi
    local root="$run_dir/cups"
    write_cups_config "$root"
    /usr/sbin/cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" 2>"$root/log/cupsd.log" &
    cupsd_pid=$!
    export CUPS_SERVER="$root/cups.sock"
    for _ in $(seq 300); do cups_running && break; sleep 0.1; done
    cups_running || fail "cupsd did not start: $(cat "$root/log/cupsd.log" "$root/log/error_log" 2>/dev/null)"
    lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || fail "cannot add the PDF printer"
    lpadmin -d PDF >/dev/null
    # A second PDF printer whose name is longer than any fixed-size printer
    # record holds; tests that need it make it their default themselves.
    export FORUM_LONG_PRINTER="PDF_printer_with_a_name_longer_than_sixty_bytes_for_the_long_name_tests"
    lpadmin -p "$FORUM_LONG_PRINTER" -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null \
        || fail "cannot add the long-named PDF printer"
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
    # A wineserver keeps the registry in memory; stopping it once writes the
    # prefix out whole, so that a test can copy it for a set-up of its own.
    wineserver -k
    wait "$wineserver_pid"
    wineserver -p -f &
    wineserver_pid=$!
    # Start Wine's own services again here, with their output going nowhere:
    # started by a test instead, they would hold on to ctest's output pipe.
    wineboot >>"$run_dir/wineboot.log" 2>&1
    wine cmd /c exit >/dev/null 2>&1
}

export LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8
start_display
start_printer
start_wine
export FORUM_TEST_RUN_DIR="$run_dir"
export FORUM_TEST_ARTIFACTS="${FORUM_TEST_ARTIFACTS:-$PWD/build/test-artifacts}"
mkdir -p "$FORUM_TEST_ARTIFACTS"

"$@"
