#!/usr/bin/env bash
# The application's idle CPU on a real X display (run by hand): started with one desktop and
# left alone, it is measured from 5 s after its start over 30 s, by the CPU ticks /proc
# reports for it, and by its threads' wake-ups (voluntary context switches). Once with no dock
# corner set and once with a corner set, the pointer left at rest: the corner is told of
# movements by the X server, so it adds neither ticks nor wake-ups (the bar: 0 ticks).
# Usage: dock_idle_cpu.sh PATH_TO_QUORVANE
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../Tests/EndToEnd/session_lib.sh"
e2e_prepare "$1"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
mkdir -p "$root/.store" "$root/One"
echo one > "$HOME/Desktop/one.txt"
start_desktop_session
hz=$(getconf CLK_TCK)
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
wakeups() { cat /proc/"$pid"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'; }
measure() { # $1: the corner setting
  cat > "$config" <<JSON
{"schemaVersion": 1, "activeWorkspace": "One", "workspaces": [{"name": "One", "files": ["one.txt"]}],
 "settings": {"shownFirstSwitchNote": true, "floatingDockCorner": "$1"}}
JSON
  start_app "app-$1"
  sleep 5
  local before after woken
  before=$(ticks)
  woken=$(wakeups)
  sleep 30
  after=$(ticks)
  woken=$(($(wakeups) - woken))
  stop_app
  local used=$((after - before))
  awk -v used="$used" -v hz="$hz" -v corner="$1" -v woken="$woken" 'BEGIN {
    printf "idle CPU over 30 s, corner %s: %d ticks (%.3f %% of one core), %d wake-ups\n", corner, used, 100 * used / hz / 30, woken }'
}
measure off
measure bottomLeft
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
