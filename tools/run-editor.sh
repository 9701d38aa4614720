#!/usr/bin/env bash
# Starts the editor under Wine on the user's own display and Wine prefix.
set -euo pipefail
exe=${1:?usage: run-editor.sh forum-editor.exe}
if [ -z "${DISPLAY:-}" ]; then
    echo "run-editor: no X display (DISPLAY is not set); start it from a desktop session," >&2
    echo "            or try: xvfb-run -a $0 $exe" >&2
    exit 1
fi
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$exe"
