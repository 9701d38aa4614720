#!/usr/bin/env bash
# Runs every benchmark: first the latency of a typed key and of the markup
# commands (with their undo and redo) and a 10 MB paste (with its undo and
# redo) against the bare control, and the start-up time against a bare
# window and Wine's WordPad, whose ratios open the report; then the native
# text benchmarks, and, inside the test environment (private display, fresh
# Wine prefix), Replace All in a long post (plain and with formats), a web
# page pasted as markup against the plain-text paste of it, the live preview
# and the typing beside it, start-up again with the preview shown and with
# spelling off and on, spell checking (loading, memory, a whole post,
# typing) and the peak memory with documents of 1 and 4 MiB.
set -euo pipefail
build=${1:-build}

# The guard against the next regression comes first: a typed key, the
# markup commands and a 10 MB paste against the bare control, and start-up
# against the bare window, each measured in the same run. Their ratios are
# the first lines printed; their whole reports follow.
guard=$(mktemp -d)
trap 'rm -rf "$guard"' EXIT
tools/test-env.sh bash -c '
    build=$1
    wine "$build/win/forum-typing-bench.exe" >"$2/typing.txt"
    wine "$build/win/forum-command-bench.exe" >"$2/commands.txt"
    wine reg add "HKCU\\Software\\Forum Editor" /v PreviewShown /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine "$build/win/forum-startup-bench.exe" "$(winepath -w "$build/win/forum-editor.exe")" \
        "$(winepath -w "$build/win/forum-bare-window.exe")" "$(winepath -w "$build/win/forum-bare-window-bars.exe")" \
        "$(winepath -w "$build/win/forum-bare-window-frame.exe")" 11 >"$2/startup.txt"
    wine "$build/win/forum-paste-undo-bench.exe" >"$2/paste.txt"
' guard "$build" "$guard"
echo "== $(date +%Y-%m-%d): against the bare control and window (at most 2.0 for the key, 1.0 for the commands, 1.2 for start-up, 1.3 for the paste) =="
grep -h '^ratio:' "$guard/typing.txt" "$guard/commands.txt" "$guard/startup.txt" "$guard/paste.txt"
echo
echo "== A typed key in a long post (Wine) =="
cat "$guard/typing.txt"
echo
echo "== Markup command latency, undo and redo (Wine) =="
cat "$guard/commands.txt"
echo
echo "== Start-up, preview hidden (Wine) =="
cat "$guard/startup.txt"
echo
echo "== A 10 MB paste and its undo, against the bare control (Wine) =="
cat "$guard/paste.txt"
echo

echo "== Text logic (native) =="
"$build/host/bench/forum-text-bench" --benchmark_min_time=0.2

tools/test-env.sh bash -c '
    set -e
    build=$1
    echo
    echo "== Live preview and typing beside it (Wine) =="
    wine "$build/win/forum-preview-bench.exe"
    settings="HKCU\\Software\\Forum Editor"
    startup() {
        wine "$build/win/forum-startup-bench.exe" "$(winepath -w "$build/win/forum-editor.exe")" \
            "$(winepath -w "$build/win/forum-bare-window.exe")" "$(winepath -w "$build/win/forum-bare-window-bars.exe")" \
            "$(winepath -w "$build/win/forum-bare-window-frame.exe")" 11
    }
    echo
    echo "== Start-up, preview shown (Wine) =="
    wine reg add "$settings" /v PreviewShown /t REG_DWORD /d 1 /f >/dev/null 2>&1
    startup
    for spelling in 0 1; do
        echo
        echo "== Start-up, spelling while typing $([ $spelling = 1 ] && echo on || echo off) (Wine) =="
        wine reg add "$settings" /v PreviewShown /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wine reg add "$settings" /v SpellCheckWhileTyping /t REG_DWORD /d $spelling /f >/dev/null 2>&1
        startup
    done
    wine reg delete "$settings" /f >/dev/null 2>&1 || true
    echo
    echo "== Replace All in a long post, and its undo (Wine) =="
    wine "$build/win/forum-replace-bench.exe"
    echo
    echo "== A web page pasted as markup, against the plain-text paste (Wine) =="
    wine "$build/win/forum-paste-bench.exe"
    echo
    echo "== Spell checking: dictionaries, a whole post, typing with it on and off (Wine) =="
    wine "$build/win/forum-spelling-bench.exe"
    echo
    echo "== Peak memory by document size (Wine) =="
    FORUM_EDITOR_EXE="$build/win/forum-editor.exe" FORUM_PROBE_EXE="$build/win/fe-probe.exe" \
        python3 bench/peak_memory.py 1
' bench "$build"
