#!/usr/bin/env bash
# Idle CPU of the application on Xvfb with a window manager, a tray host and a compositing
# manager, once a desktop's cue is shown and a covered switch has finished: the clock ticks
# (user and system) the process uses over 30 s of doing nothing. Prints the figures; asserts
# nothing. Usage: idle_cpu.sh PATH_TO_QUORVANE [SECONDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../Tests/EndToEnd/session_lib.sh"
e2e_prepare "$1" xcompmgr
export IDLE_SECONDS="${2:-30}" GSETTINGS_BACKEND=keyfile

root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Night" "$root/_Hidden Desktop"
echo day > "$HOME/Desktop/day.txt"
echo night > "$root/Night/night.txt"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [
  {"name": "Default", "files": ["day.txt"]},
  {"name": "Night", "files": ["night.txt"],
   "cue": {"enabled": true, "fill": {"color": {"_0": "#336699"}}, "opacity": 0.4, "aboveIcons": true}},
  {"name": "_Hidden Desktop"}],
 "settings": {"switchTransition": "blur", "shownFirstSwitchNote": true}}
JSON

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
xcompmgr >/dev/null 2>&1 &
start_app app
sleep 0.5
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Night"' || fail "the covered switch to Night did not finish"
sleep 3 # the cover's reveal and fade-out
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks)
sleep "$IDLE_SECONDS"
after=$(ticks)
echo "idle CPU with the cue shown after a covered switch: $((after - before)) ticks over ${IDLE_SECONDS} s ($(getconf CLK_TCK) ticks a second)" > "$WORK/figures"
stop_app
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
cat "$WORK/figures"
