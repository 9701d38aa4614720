#!/usr/bin/env bash
# Runs a command while busy processes take the machine's cores, as other
# programs do on a user's machine: the tests must pass on a loaded machine
# too. The busy processes are stopped again, by process id, when the
# command ends; the command's exit code is kept.
# Usage: with-busy-cores.sh COUNT COMMAND [ARGUMENTS...]
set -uo pipefail

[ $# -ge 2 ] || { echo "usage: with-busy-cores.sh COUNT COMMAND [ARGUMENTS...]" >&2; exit 2; }
count=$1
shift
busy_pids=()

stop_busy() {
    [ ${#busy_pids[@]} -eq 0 ] && return
    kill "${busy_pids[@]}" 2>/dev/null
    wait "${busy_pids[@]}" 2>/dev/null
}
trap stop_busy EXIT
trap 'exit 130' INT TERM

for _ in $(seq "$count"); do
    bash -c 'while :; do :; done' &
    busy_pids+=($!)
done
echo "with-busy-cores: $count busy processes (${busy_pids[*]}) beside: $*" >&2
started=$(date +%s)
"$@"
status=$?
echo "with-busy-cores: exit code $status after $(( $(date +%s) - started )) s" >&2
exit "$status"
