#!/usr/bin/env bash
# Runs every benchmark: the native text benchmarks, then, inside the test
# environment (private display, fresh Wine prefix), the command latency in
# the real control and the start-up time against Wine's WordPad.
set -euo pipefail
build=${1:-build}

echo "== Text logic (native) =="
"$build/host/bench/forum-text-bench" --benchmark_min_time=0.2

tools/test-env.sh bash -c '
    set -e
    build=$1
    echo
    echo "== Markup command latency (Wine) =="
    wine "$build/win/forum-command-bench.exe"
    echo
    echo "== Start-up (Wine) =="
    wine "$build/win/forum-startup-bench.exe" "$(winepath -w "$build/win/forum-editor.exe")" 11
' bench "$build"
