#!/usr/bin/env bash
# Idle CPU of the application on Xvfb with a window manager and a tray host once the settings
# window was opened from the status menu and closed again: the clock ticks (user and system)
# the process uses over 30 s of doing nothing, first after General was shown, then after the
# sidebar was run down to Experimental. No hot corner is set. Prints the figures; asserts
# nothing. Usage: settings_idle_cpu.sh PATH_TO_QUORVANE [SECONDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../Tests/EndToEnd/session_lib.sh"
e2e_prepare "$1"
export IDLE_SECONDS="${2:-30}"

root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Work" "$root/_Hidden Desktop"
echo one > "$HOME/Desktop/one.txt"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [{"name": "Default", "files": ["one.txt"]}, {"name": "Work"}, {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true}}
JSON

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
start_app app
sleep 0.5
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
# Opens "Settings…", goes $1 sections down, closes the window, then counts the idle ticks into
# $WORK/ticks.$2.
idle_after() {
  local win i before after
  choose_from_menu_end 2
  win="$(wait_window 'Quorvane Settings' 50)" || fail "the settings window did not open"
  sleep 0.5
  for i in $(seq 1 "$1"); do xdotool key Down; sleep 0.3; done
  sleep 2.5 # a page's own refresh runs at least once
  xdotool key alt+F4
  wait_unmapped "$win" || fail "Alt+F4 did not close the settings window"
  sleep 1
  before=$(ticks)
  sleep "$IDLE_SECONDS"
  after=$(ticks)
  echo "$((after - before))" > "$WORK/ticks.$2"
}
idle_after 0 general
idle_after 8 experimental
general=$(cat "$WORK/ticks.general") experimental=$(cat "$WORK/ticks.experimental")
hz=$(getconf CLK_TCK)
{
  echo "idle CPU, settings closed after General was shown:      $general ticks over ${IDLE_SECONDS} s ($hz a second; bar 0)"
  echo "idle CPU, settings closed after Experimental was shown: $experimental ticks over ${IDLE_SECONDS} s ($hz a second; bar 0)"
} > "$WORK/figures"
stop_app
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
cat "$WORK/figures"
