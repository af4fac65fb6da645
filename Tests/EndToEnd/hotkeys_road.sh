#!/usr/bin/env bash
# Global hot keys on a real X display, whichever window has the focus: a desktop's own
# shortcut switches to it, the switch-to-last shortcut goes back, and both still work with
# Num Lock on; a shortcut edited by hand in config.json works at once; Alt+Shift+2 fires on a
# German layout; a switch sweeps the screenshots that XFCE's, KDE's and GNOME's tools name as
# they do, under each session, each a real picture of the screen that arrives unchanged and is
# kept in $QUORVANE_TEST_ARTIFACTS. The focused window keeps the focus; every check looks at the
# files on disk and at config.json.
# Usage: hotkeys_road.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app" xmessage xset import sha256sum setxkbmap
export ARTIFACTS="${QUORVANE_TEST_ARTIFACTS:-$WORK/artifacts}"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
# Default (Ctrl+Alt+F) is active with its file on the Desktop; Work (Ctrl+Alt+D) keeps its file in
# its folder; Ctrl+Alt+L switches to the last desktop.
mkdir -p "$root/.store" "$root/Default" "$root/Work"
echo default > "$HOME/Desktop/default.txt"
echo work > "$root/Work/work.txt"
cat > "$config" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [{"name": "Default", "files": ["default.txt"], "hotkey": {"keyCode": 3, "modifiers": 786432}},
                {"name": "Work", "files": ["work.txt"], "hotkey": {"keyCode": 2, "modifiers": 786432}}],
 "settings": {"switchToLastShortcut": {"keyCode": 37, "modifiers": 786432}, "shownFirstSwitchNote": true}}
JSON
start_desktop_session
start_app app

# Another application's window has the focus.
xmessage -name focused -title focused "another application" &
note="$(wait_window focused)" || fail "the xmessage window never appeared"
xdotool windowactivate --sync "$note"
[ "$(xdotool getactivewindow)" = "$note" ] || fail "the xmessage window did not take the focus"

on_work() {
  [ "$(listing "$HOME/Desktop")" = "work.txt|" ] || fail "$1: the Desktop holds $(listing "$HOME/Desktop")"
  [ "$(listing "$root/Default")" = "default.txt|" ] || fail "$1: Default's folder holds $(listing "$root/Default")"
  [ -z "$(listing "$root/Work")" ] || fail "$1: Work's folder still holds $(listing "$root/Work")"
}

# 1. Work's own shortcut.
xdotool key ctrl+alt+d
wait_for 'c["activeWorkspace"] == "Work"' || fail "ctrl+alt+d did not switch to Work"
on_work "ctrl+alt+d"
[ "$(xdotool getactivewindow)" = "$note" ] || fail "the focus left the xmessage window"
echo "a desktop's shortcut: ok"

# 2. Back to the last desktop.
xdotool key ctrl+alt+l
wait_for 'c["activeWorkspace"] == "Default"' || fail "ctrl+alt+l did not switch back to Default"
[ "$(listing "$HOME/Desktop")" = "default.txt|" ] || fail "ctrl+alt+l: the Desktop holds $(listing "$HOME/Desktop")"
[ "$(listing "$root/Work")" = "work.txt|" ] || fail "ctrl+alt+l: Work's folder holds $(listing "$root/Work")"
[ -z "$(listing "$root/Default")" ] || fail "ctrl+alt+l: Default's folder still holds $(listing "$root/Default")"
echo "switch to last: ok"

# 3. With Num Lock on.
xdotool key Num_Lock
xset q | grep -q 'Num Lock: *on' || fail "Num Lock did not come on"
xdotool key ctrl+alt+d
wait_for 'c["activeWorkspace"] == "Work"' || fail "ctrl+alt+d with Num Lock on did not switch to Work"
on_work "ctrl+alt+d with Num Lock"
echo "with Num Lock: ok"

# 4. A shortcut set by hand in config.json while the application runs works without a restart:
# the application hears the edit itself.
set_default_key() {
  python3 - "$config" "$@" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["workspaces"][0]["hotkey"]["keyCode"] = int(sys.argv[2])
if len(sys.argv) > 3:
    c["workspaces"][0]["hotkey"]["modifiers"] = int(sys.argv[3])
json.dump(c, open(sys.argv[1], "w"))
PY
}
switched_by() { press "$1"; config_holds "c['activeWorkspace'] == '$2'"; }
set_default_key 5
within 10 switched_by ctrl+alt+g Default || fail "ctrl+alt+g, set by hand in config.json, never switched to Default"
set_default_key 3
within 10 switched_by ctrl+alt+d Work || fail "ctrl+alt+d no longer switches to Work after the hand edit"
echo "a shortcut edited by hand: ok"

# 5. Alt+Shift+2 on a German layout: the key of the 2, which types '"' with Shift there.
set_default_key 19 655360
setxkbmap de
within 10 switched_by alt+quotedbl Default || fail "alt+shift+2 on a German layout never switched to Default"
setxkbmap us
set_default_key 3 786432
within 10 switched_by ctrl+alt+d Work || fail "ctrl+alt+d no longer switches to Work after the German layout"
echo "alt+shift+2 on a German layout: ok"

wait_for_log app 'switched Default → Work' || fail "no switched line"
stop_app

# 6. Screenshots named as each session's tool names them go to Shots at a switch; a look-alike
# stays with its desktop.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["workspaces"].append({"name": "Shots"})
c["settings"].update({"filterScreenshots": True, "screenshotsWorkspace": "Shots"})
json.dump(c, open(sys.argv[1], "w"))
PY
mkdir -p "$root/Shots"
active=Work
for session in "XFCE Screenshot_2026-12-09_19-50-00.png" "KDE Screenshot_20261209_195000.png" \
               "ubuntu:GNOME Screenshot from 2026-12-09 19-50-00.png"; do
  kind="${session%% *}" shot="${session#* }"
  # A real picture of the screen, under the name the tool gives it.
  import -window root "$HOME/Desktop/$shot" || fail "$kind: no picture of the screen"
  taken="$(sha256sum < "$HOME/Desktop/$shot")"
  echo notes > "$HOME/Desktop/Screenshot_notes-$active.png"
  XDG_CURRENT_DESKTOP="$kind" start_app "app-${kind#*:}"
  if [ "$active" = Work ]; then key=ctrl+alt+f next=Default; else key=ctrl+alt+d next=Work; fi
  # The keys are grabbed once the new instance has read its document, which may come after its
  # launch line: the key names one desktop, so pressing it again until it switches is harmless.
  within 10 switched_by "$key" "$next" || fail "$kind: $key did not switch to $next"
  [ -f "$root/Shots/$shot" ] || fail "$kind: $shot is not in Shots, which holds $(listing "$root/Shots")"
  [ "$(sha256sum < "$root/Shots/$shot")" = "$taken" ] || fail "$kind: $shot changed on its way to Shots"
  cp "$root/Shots/$shot" "$ARTIFACTS/$shot"
  echo "$kind: $shot swept into Shots"
  [ -f "$root/$active/Screenshot_notes-$active.png" ] || fail "$kind: the look-alike left $active: $(listing "$root/$active")"
  stop_app
  active="$next"
done
echo "screenshots by each tool's names: ok"
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
