#!/usr/bin/env bash
# Without any display or tray the application still starts, says that the status item is
# unavailable, and quits cleanly when asked. Usage: offscreen_start_quit.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/../Support/wait_lib.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Every folder the application may write in lies in the temporary home, whatever the caller's
# environment names.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_STATE_HOME="$work/home/.local/state" XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
"$app" > "$work/app.log" 2>&1 &
pid=$!
unavailable_or_ended() { grep -q 'status item is unavailable' "$work/app.log" || ! kill -0 $pid 2>/dev/null; }
within 5 unavailable_or_ended || true
kill -TERM $pid 2>/dev/null || true
status=0
wait $pid || status=$?
cat "$work/app.log"
grep -q 'status item is unavailable' "$work/app.log" || { echo "FAIL: no word that the status item is unavailable"; exit 1; }
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
echo "PASS"
