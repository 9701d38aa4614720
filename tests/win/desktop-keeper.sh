#!/usr/bin/env bash
# Starts or stops fe-desktop-keeper.exe (see tests/win/desktop/keep_desktop.cpp)
# for the ctest run, with its output going nowhere. A keeper that does not
# start only makes the run slower, so this never fails the run.
# Usage: desktop-keeper.sh start KEEPER.exe | stop
set -uo pipefail

[ -n "${FORUM_TEST_RUN_DIR:-}" ] || { echo "desktop-keeper: run under tools/test-env.sh" >&2; exit 0; }
pid_file="$FORUM_TEST_RUN_DIR/desktop-keeper.pid"

case "${1:-}" in
start)
    setsid wine "$2" </dev/null >/dev/null 2>&1 &
    echo $! >"$pid_file"
    # Give it the moment Wine needs to bring the desktop up.
    sleep 1
    ;;
stop)
    [ -s "$pid_file" ] && kill "$(cat "$pid_file")" 2>/dev/null
    rm -f "$pid_file"
    ;;
esac
exit 0
