#!/usr/bin/env bash
# Runs every benchmark: the native text benchmarks, then, inside the test
# environment (private display, fresh Wine prefix), the command latency in
# the real control with its undo and redo, the latency of typing, the
# start-up time against Wine's WordPad and the peak
# memory with documents of 1 and 4 MiB.
set -euo pipefail
build=${1:-build}

echo "== Text logic (native) =="
"$build/host/bench/forum-text-bench" --benchmark_min_time=0.2

tools/test-env.sh bash -c '
    set -e
    build=$1
    echo
    echo "== Markup command latency, undo and redo (Wine) =="
    wine "$build/win/forum-command-bench.exe"
    echo
    echo "== Typing latency (Wine) =="
    wine "$build/win/forum-typing-bench.exe"
    echo
    echo "== Start-up (Wine) =="
    wine "$build/win/forum-startup-bench.exe" "$(winepath -w "$build/win/forum-editor.exe")" 11
    echo
    echo "== Peak memory by document size (Wine) =="
    FORUM_EDITOR_EXE="$build/win/forum-editor.exe" FORUM_PROBE_EXE="$build/win/fe-probe.exe" \
        python3 bench/peak_memory.py 1 4
' bench "$build"
