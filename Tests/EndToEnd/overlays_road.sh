#!/usr/bin/env bash
# The switch dressed on a real display (Xvfb with a window manager, a tray host and a
# compositing manager) in a temporary home folder, the session's settings in a key file there:
# a covered switch to a dark desktop with a cue, the cover seen while the switch waits in its
# gap; the session turned dark and the cue shown; back to the first desktop, cue gone and the
# user's own light scheme back; two wheel clicks on the tray icon show the scroll display and
# switch once the wheel rests. What the dark desktop borrows of the session comes back: at
# SIGTERM; after a kill -9 (which leaves no "gsettings monitor" child behind) at the next start
# and its switch to the light desktop; and SIGTERM with the first-switch note open ends the
# application within 2 s.
# Usage: overlays_road.sh PATH_TO_QUORVANE
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/session_lib.sh"
e2e_prepare "$1" xcompmgr xprop gsettings pgrep
export GSETTINGS_BACKEND=keyfile
gsettings set org.gnome.desktop.interface color-scheme 'prefer-light' \
  || { echo "SKIP: no org.gnome.desktop.interface schema"; exit 77; }
gsettings set org.gnome.desktop.interface gtk-theme 'Adwaita'

root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Night" "$root/_Hidden Desktop"
echo day > "$HOME/Desktop/day.txt"
echo night > "$root/Night/night.txt"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [
  {"name": "Default", "files": ["day.txt"], "preferredAppearance": "light"},
  {"name": "Night", "files": ["night.txt"], "preferredAppearance": "dark",
   "cue": {"enabled": true, "fill": {"color": {"_0": "#336699"}}, "opacity": 0.4,
           "aboveIcons": true, "aboveMenuBar": false}},
  {"name": "_Hidden Desktop"}],
 "settings": {"switchTransition": "blur", "moveGapMs": 2000, "shownFirstSwitchNote": true}}
JSON

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
xcompmgr >/dev/null 2>&1 &
within 5 selection_owned _NET_WM_CM_S0 || fail "the compositing manager did not start"
max=4294967295
# True when property $2 of window $1 is $3 of the maximum opacity (to one part in a million).
opacity_is() { python3 -c "import sys; v=int(sys.argv[1]); sys.exit(0 if abs(v/$max-float(sys.argv[2]))<1e-6 else 1)" \
  "$(window_property "$1" _NET_WM_WINDOW_OPACITY)" "$2"; }
scheme() { gsettings get org.gnome.desktop.interface color-scheme; }
theme() { gsettings get org.gnome.desktop.interface gtk-theme; }
users_look() { [ "$(scheme)" = "'prefer-light'" ] && [ "$(theme)" = "'Adwaita'" ]; }
dark_look() { [ "$(scheme)" = "'prefer-dark'" ] && [ "$(theme)" = "'Adwaita-dark'" ]; }
ledger="$HOME/QuorVane Desktops/.store/ledger.json"
# Runs the command until it succeeds, for at most 1.5 s on an idle machine.
eventually() { within 1.5 "$@"; }
# The same for at most 10 s on an idle machine: what a starting application does.
soon() { within 10 "$@"; }
# Whether the window is on every workspace: the sticky state, or the all-workspaces number
# that window managers without that state keep instead.
on_every_workspace() {
  window_property "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_STICKY \
    || [ "$(window_property "$1" _NET_WM_DESKTOP)" = "$max" ]
}

start_app app
sleep 0.5

# 1. The switch to Night, seen in its gap. The cover lives for the 2 s gap only, which a loaded
# machine may spend starting a few commands: one watcher, started before the switch, looks for
# it (one cover, the whole screen, faded in to half opacity, kept below by the window manager
# in its own time) many times a second.
python3 "$(dirname "$E2E_LIB")/window_watch.py" "Quorvane switch cover" 0.5 $((15 * $(slowness))) \
  > "$WORK/cover.txt" 2>&1 &
watcher=$!
choose_from_menu 2
in_gap() { [ ! -e "$HOME/Desktop/day.txt" ] && [ ! -e "$HOME/Desktop/night.txt" ]; }
within 5 in_gap || fail "never saw the switch between moving out and moving in"
wait "$watcher" || fail "the switch cover: $(cat "$WORK/cover.txt")"
kept_below() { window_property "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_BELOW; }
wait_for 'c["activeWorkspace"] == "Night"' || fail "the switch to Night did not finish"
[ "$(listing "$HOME/Desktop")" = "night.txt|" ] || fail "Desktop after the switch: $(listing "$HOME/Desktop")"
within 3 no_viewable_window "Quorvane switch cover" || fail "the cover was still up 3 s after the switch"
echo "covered switch: ok"

# 2. Night's dark scheme and cue.
scheme_is() { [ "$(scheme)" = "$1" ]; }
# The look follows the files: it lands on its own, soon after.
soon scheme_is "'prefer-dark'" || fail "colour scheme after the switch to Night: $(scheme)"
cues="$(viewable_windows "Quorvane desktop cue")"
[ "$(echo "$cues" | grep -c .)" = 1 ] || fail "viewable cue windows: '$cues'"
eventually opacity_is "$cues" 0.4 || fail "cue opacity $(window_property "$cues" _NET_WM_WINDOW_OPACITY)"
eventually kept_below "$cues" || fail "the cue is not kept below"
on_every_workspace "$cues" || fail "the cue is not on every workspace: $(xprop -id "$cues")"
echo "dark scheme and cue: ok"

# 3. Back to Default: no cue, the user's own light scheme.
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back to Default did not finish"
within 3 no_viewable_window "Quorvane desktop cue" || fail "a cue is still shown on Default"
soon scheme_is "'prefer-light'" || fail "colour scheme back on Default: $(scheme)"
within 3 no_viewable_window "Quorvane switch cover" || true
echo "back to the light scheme: ok"

# 4. Two wheel clicks down on the tray icon: the scroll display, then the switch to Night.
read -r x y <<<"$(tray_icon_centre)"
xdotool mousemove "$x" "$y"
sleep 0.2
xdotool click 5
sleep 0.1
xdotool click 5
within 1 not no_viewable_window "Quorvane scroll" || fail "no scroll display after the wheel clicks"
wait_for 'c["activeWorkspace"] == "Night"' || fail "scrolling did not switch to Night"
within 4 no_viewable_window "Quorvane scroll" || fail "the scroll display stayed on screen"
echo "scroll cycling: ok"

# 5. SIGTERM on the dark desktop: the user's scheme and theme come back.
soon dark_look || fail "look on Night: $(scheme) $(theme)"
[ -f "$ledger" ] || fail "the user's look is not kept in the store"
stop_app
users_look || fail "look after SIGTERM on Night: $(scheme) $(theme)"
[ ! -e "$ledger" ] || fail "the ledger stayed after everything came back: $(cat "$ledger")"
echo "the user's look back at SIGTERM: ok"

# 6. Started again on Night, which turns dark again; a kill -9 leaves its monitor no child.
start_app app2
soon dark_look || fail "look after starting on Night: $(scheme) $(theme)"
monitors="$(pgrep -P "$pid" -f 'gsettings monitor' || true)"
[ -n "$monitors" ] || fail "no gsettings monitor child to watch"
kill -KILL "$pid"
wait "$pid" || true
for m in $monitors; do
  eventually process_gone "$m" || fail "gsettings monitor $m outlived the application"
done
dark_look || fail "look after kill -9: $(scheme) $(theme)"
echo "kill -9 leaves no monitor: ok"

# 7. The next start gives the look back and shows Night's again; the switch to the light
# desktop leaves the user's own. SIGTERM with the first-switch note open ends it within 2 s.
json_set='import json,sys; c=json.load(open(sys.argv[1])); c["settings"]["shownFirstSwitchNote"]=False; json.dump(c,open(sys.argv[1],"w"))'
python3 -c "$json_set" "$config"
start_app app3
soon dark_look || fail "look after starting on Night again: $(scheme) $(theme)"
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch to Default did not finish"
soon users_look || fail "look on the light desktop after the crash: $(scheme) $(theme)"
note_open() { [ -n "$(alert_windows)" ]; }
soon note_open || fail "the first-switch note did not open"
kill -TERM "$pid"
ended() { ! kill -0 "$pid" 2>/dev/null; }
within 2 ended || fail "SIGTERM with the first-switch note open did not end the application within 2 s"
wait "$pid" || fail "the application did not quit cleanly with the note open"
users_look || fail "look after SIGTERM with the note open: $(scheme) $(theme)"
[ ! -e "$ledger" ] || fail "the ledger stayed: $(cat "$ledger")"
echo "SIGTERM with the note open: ok"

echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
