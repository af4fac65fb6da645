#!/usr/bin/env bash
# On a Wayland session (weston, headless, with Xwayland), in a temporary home folder: started
# with only WAYLAND_DISPLAY and DISPLAY set, the application runs on Xwayland (with the user's
# own QT_QPA_PLATFORM, on that platform). With a tray host
# on Xwayland its icon docks there; with no status area at all it says so in a notification
# and opens its settings window, once its grace for a panel that starts late (15 s) has passed.
# Under sway (headless, without Xwayland) the workspaces come over its IPC socket and a
# workspace bound to a desktop makes it active; there the application runs natively on Wayland,
# with its status item and command line, and shows no overlay window. Under mutter with GNOME's schemas each hot key is
# an entry of GNOME's own custom shortcuts that runs the command line.
# Usage: wayland_session.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app" weston Xwayland dbus-run-session dbus-monitor dbus-send xprop
echo one > "$HOME/Desktop/one.txt"
root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Work"
echo work > "$root/Work/work.txt"
cat > "$root/.store/config.json" <<'JSON'
{"activeWorkspace": "Default",
 "workspaces": [{"name": "Default", "files": ["one.txt"]}, {"name": "Work", "files": ["work.txt"]}],
 "settings": {"shownFirstSwitchNote": true}}
JSON
export HOST="$(cd "${BASH_SOURCE[0]%/*}" && pwd)/status_host.py"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
unset DISPLAY
# A compositor of its own for each part, with Xwayland; sets WAYLAND_DISPLAY and DISPLAY.
start_compositor() { # $1: socket name
  weston --backend=headless-backend.so --xwayland --socket="$1" --idle-time=0 --log="$WORK/$1.log" >/dev/null 2>&1 &
  compositor=$!
  local display
  xwayland_display() { sed -nE 's/.*xserver listening on display (:[0-9]+).*/\1/p' "$WORK/$1.log" 2>/dev/null | head -n1; }
  compositor_ready() { [ -S "$XDG_RUNTIME_DIR/$1" ] && xwayland_display "$1"; }
  display="$(within_for 10 compositor_ready "$1")" || fail "weston did not start Xwayland: $(cat "$WORK/$1.log")"
  export WAYLAND_DISPLAY="$1" DISPLAY="$display"
  # weston ends Xwayland when its last client leaves: one client stays for the whole part.
  xprop -root -spy >/dev/null 2>&1 &
}
stop_compositor() { kill $compositor 2>/dev/null || true; wait $compositor 2>/dev/null || true; }

# 1. No status area: after the grace, a notification says so and the settings window opens.
start_compositor quorvane-wayland-1
dbus-monitor "interface='org.freedesktop.Notifications',member='Notify'" > "$WORK/bus.log" 2>&1 &
monitor=$!
start_app_untrayed() { "$APP" > "$WORK/$1.log" 2>&1 & pid=$!; }
start_app_untrayed alone
wait_for_log alone "running on Xwayland" || fail "the application did not choose Xwayland"
within 30 log_holds alone "no status area on this desktop" || fail "no line about the missing status area"
settings="$(wait_window "Quorvane Settings" 100 || wait_window "Settings" 1 || true)"
[ -n "$settings" ] || fail "the settings window did not open: $(xwininfo -root -tree | grep -i quorvane)"
within 5 grep -q "Quorvane has no status area" "$WORK/bus.log" || fail "no notification on the bus"
stop_app
kill $monitor 2>/dev/null || true
# A platform the user chose is kept.
QT_QPA_PLATFORM=offscreen "$APP" > "$WORK/chosen.log" 2>&1 & pid=$!
wait_for_log chosen "launched" || fail "the application did not start on the platform chosen"
grep -q "running on Xwayland" "$WORK/chosen.log" && fail "the user's QT_QPA_PLATFORM was overridden"
stop_app
stop_compositor
echo "no status area: ok; the user's platform kept: ok"

# 2. A tray host on Xwayland: the icon docks in it. (Xwayland 22 aborts on synthetic input,
# so nothing here is clicked.)
start_compositor quorvane-wayland-2
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
within 30 tray_selection_owned || fail "the tray host did not take the tray selection"
start_app tray
wait_for_log tray "status item shown in the status area" || fail "the status item was not shown"
grep -q "no status area" "$WORK/tray.log" && fail "a status area was reported missing"
stop_app
stop_compositor
echo "tray on Xwayland: ok"

# 3. A StatusNotifier status area: a pick from the menu it draws switches the files, the command
# line switches them back, and the item's own menu opens as a popup on Xwayland.
start_compositor quorvane-wayland-3
/usr/bin/python3 "$HOST" serve "$WORK/items" &
host=$!
watcher_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q true
}
within 10 watcher_up || fail "the status host did not take the watcher's name"
start_app_untrayed notifier
within 10 test -s "$WORK/items" || true
item="$(head -n1 "$WORK/items" 2>/dev/null || true)"
[ -n "$item" ] || fail "the status item never registered with the watcher"
/usr/bin/python3 "$HOST" click "$item" Work || fail "no Work entry in the menu: $(/usr/bin/python3 "$HOST" menu "$item")"
wait_for 'c["activeWorkspace"] == "Work"' || fail "the pick did not switch"
[ "$(listing "$HOME/Desktop")" = "work.txt|" ] || fail "Desktop after the switch: $(listing "$HOME/Desktop")"
[ "$(listing "$root/Default")" = "one.txt|" ] || fail "Default's folder: $(listing "$root/Default")"
# The command line, as the desktop's own shortcuts run it, switches back.
wait_for_log notifier "the command line reaches this instance" || fail "the instance did not take the command line"
"$APP" --switch-to Default > "$WORK/cli.out" 2>&1 || fail "--switch-to failed: $(cat "$WORK/cli.out")"
wait_for 'c["activeWorkspace"] == "Default"' || fail "--switch-to Default did not switch"
[ "$(listing "$HOME/Desktop")" = "one.txt|" ] || fail "Desktop after --switch-to: $(listing "$HOME/Desktop")"
/usr/bin/python3 "$HOST" context "$item" 200 30 || fail "the item did not take ContextMenu"
# A popup: an override-redirect window the compositor does not place, at the point asked.
menu_popup() {
  local id
  for id in $(xwininfo -root -tree | grep '("quorvane"' | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && is_viewable "$id" \
      && xwininfo -id "$id" | grep -q 'Absolute upper-left X:  200' && echo "$id" && return 0
  done
  return 0
}
within_for 5 menu_popup >/dev/null || fail "the status menu did not open as a popup: $(xwininfo -root -tree | grep -i quorvane)"
stop_app
kill $host 2>/dev/null || true
stop_compositor
echo "StatusNotifier menu on Xwayland: ok"

# 4. sway, headless and without Xwayland: its workspaces reach the application over its IPC
# socket, and going to the workspace bound to Work makes Work active. sway refuses to run as
# root, so there it runs as nobody, in a folder of its own.
if command -v sway >/dev/null && command -v swaymsg >/dev/null && command -v setpriv >/dev/null; then
  swaydir="$(mktemp -d)"
  mkdir -p "$swaydir/run"
  chmod 700 "$swaydir/run"
  printf 'xwayland disable\n' > "$swaydir/config"
  as=()
  if [ "$(id -u)" = 0 ]; then
    chown -R 65534:65534 "$swaydir"
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  fi
  env -i PATH="$PATH" HOME="$swaydir" XDG_RUNTIME_DIR="$swaydir/run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman "${as[@]}" sway -c "$swaydir/config" > "$WORK/sway.log" 2>&1 &
  sway=$!
  sway_socket() { ls "$swaydir"/run/sway-ipc.*.sock 2>/dev/null | head -n1; }
  sway_up() { [ -n "$(sway_socket)" ] && SWAYSOCK="$(sway_socket)" swaymsg -t get_version >/dev/null 2>&1; }
  within 20 sway_up || fail "sway did not start"
  export SWAYSOCK="$(sway_socket)"
  python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
for w in c["workspaces"]:
    w["spaceUUID"] = {"Default": "wm-workspace-1", "Work": "wm-workspace-2"}.get(w["name"], w.get("spaceUUID"))
c["settings"]["followSpaces"] = True
json.dump(c, open(sys.argv[1], "w"))
PY
  (unset WAYLAND_DISPLAY DISPLAY; exec env QT_QPA_PLATFORM=offscreen "$APP") > "$WORK/sway-app.log" 2>&1 &
  pid=$!
  wait_for_log sway-app "following workspaces" || fail "the application does not follow sway's workspaces"
  swaymsg workspace 2 >/dev/null
  wait_for 'c["activeWorkspace"] == "Work"' || fail "going to workspace 2 did not make Work active"
  [ "$(listing "$HOME/Desktop")" = "work.txt|" ] || fail "Desktop on workspace 2: $(listing "$HOME/Desktop")"
  swaymsg workspace 1 >/dev/null
  wait_for 'c["activeWorkspace"] == "Default"' || fail "going back to workspace 1 did not make Default active"
  stop_app
  echo "sway's workspaces over its socket: ok"

  # As a user has this session: no X server, so the application runs natively on Wayland, its
  # status item is on the bus, the command line switches, and a transition opens no window.
  # A key stored for Work: this session gives no global shortcuts, so it is refused (its row says
  # so: the Shortcuts section's own test), never taken as assigned.
  python3 -c 'import json,sys; c=json.load(open(sys.argv[1])); c["settings"]["switchTransition"]="blur"; [w.update(hotkey={"keyCode": 19, "modifiers": 0x40000 | 0x80000}) for w in c["workspaces"] if w["name"] == "Work"]; json.dump(c,open(sys.argv[1],"w"))' "$config"
  /usr/bin/python3 "$HOST" serve "$WORK/sway-items" &
  host=$!
  swaymsg -t subscribe -m '["window"]' > "$WORK/sway-windows.txt" 2>&1 &
  windows=$!
  (unset DISPLAY QT_QPA_PLATFORM; WAYLAND_DISPLAY="$(ls "$swaydir"/run/wayland-? | head -n1)" exec "$APP") > "$WORK/sway-native.log" 2>&1 &
  pid=$!
  wait_for_log sway-native "running natively on Wayland" || fail "the application did not run natively on Wayland"
  within 10 test -s "$WORK/sway-items" || fail "the status item never registered with the watcher"
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:"$(head -n1 "$WORK/sway-items")" | grep -q true || fail "the status item is not on the bus"
  wait_for_log sway-native "the command line reaches this instance" || fail "the instance did not take the command line"
  wait_for_log sway-native "no global shortcuts on this session" || fail "no line about the session's missing shortcuts"
  wait_for_log sway-native "the shortcut Ctrl+Alt+2 was refused" || fail "Work's key on sway was not refused"
  "$APP" --switch-to Work > "$WORK/sway-cli.out" 2>&1 || fail "--switch-to failed: $(cat "$WORK/sway-cli.out")"
  wait_for 'c["activeWorkspace"] == "Work"' || fail "--switch-to Work did not switch natively on Wayland"
  [ "$(listing "$HOME/Desktop")" = "work.txt|" ] || fail "Desktop after --switch-to: $(listing "$HOME/Desktop")"
  log_holds sway-native "the switch transition is not shown on Wayland" || fail "no line about the transition left out"
  stop_app
  kill $windows $host 2>/dev/null || true
  grep -q '"app_id": "quorvane"' "$WORK/sway-windows.txt" && fail "a window reached sway: $(cat "$WORK/sway-windows.txt")"
  kill $sway 2>/dev/null || true
  wait $sway 2>/dev/null || true
  rm -rf "$swaydir"
  echo "natively on sway without Xwayland: ok"
else
  echo "sway's workspaces: sway is not installed, not tried"
fi

# 5. GNOME's mutter, headless, with Xwayland and GNOME's schemas (settings kept in a key file of
# the temporary home): each hot key is an entry of GNOME's own custom shortcuts. Assigning
# Ctrl+Alt+2 to Work writes the entry, its command switches the files, removing the assignment
# removes the entry, a quit and a kill -9 and the next start leave none behind, and the user's own
# entry stays as it was throughout, as does an entry parked at quorvane0 outside the list (the
# user's or another tool's): ours takes the next free place.
keys=org.gnome.settings-daemon.plugins.media-keys
if command -v mutter >/dev/null && command -v gsettings >/dev/null \
   && gsettings list-keys $keys.custom-keybinding:/x/ >/dev/null 2>&1; then
  export GSETTINGS_BACKEND=keyfile
  base=/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings
  mine="$base/custom0/"
  gsettings set $keys custom-keybindings "['$mine']"
  gsettings set $keys.custom-keybinding:$mine name 'Terminal'
  gsettings set $keys.custom-keybinding:$mine command 'x-terminal-emulator'
  gsettings set $keys.custom-keybinding:$mine binding '<Primary><Alt>t'
  parked="$base/quorvane0/"
  gsettings set $keys.custom-keybinding:$parked name 'Parked'
  gsettings set $keys.custom-keybinding:$parked command 'xterm'
  gsettings set $keys.custom-keybinding:$parked binding '<Super>p'
  parked_intact() {
    [ "$(gsettings get $keys.custom-keybinding:$parked name)" = "'Parked'" ] \
      && [ "$(gsettings get $keys.custom-keybinding:$parked command)" = "'xterm'" ] \
      && [ "$(gsettings get $keys.custom-keybinding:$parked binding)" = "'<Super>p'" ] \
      && ! gsettings get $keys custom-keybindings | grep -qF "'$parked'"
  }
  parked_now() { parked_intact || fail "the entry parked at quorvane0 changed ($1): $(gsettings list-recursively $keys.custom-keybinding:$parked)"; }
  users_own() {
    [ "$(gsettings get $keys.custom-keybinding:$mine name)" = "'Terminal'" ] \
      && [ "$(gsettings get $keys.custom-keybinding:$mine binding)" = "'<Primary><Alt>t'" ] \
      && gsettings get $keys custom-keybindings | grep -qF "'$mine'"
  }
  entries() { gsettings get $keys custom-keybindings; }
  entry_listed() { entries | grep -qF "$base/quorvane1/"; }
  no_entry_of_ours() { ! entries | grep -q quorvane && ! grep -qs 'shortcuts:gnome' "$root/.store/ledger.json"; }
  assign() { # $1: a key code (19: the key typing 2) or nothing
    python3 - "$config" "$1" <<'PY2'
import json, sys
c = json.load(open(sys.argv[1]))
for w in c["workspaces"]:
    if w["name"] == "Work":
        if sys.argv[2]:
            w["hotkey"] = {"keyCode": int(sys.argv[2]), "modifiers": 0x40000 | 0x80000}
        else:
            w.pop("hotkey", None)
json.dump(c, open(sys.argv[1] + ".new", "w"))
PY2
    mv "$config.new" "$config"
  }
  mutterlog="$WORK/mutter.log"
  mutter --headless --wayland --virtual-monitor 1280x800 --wayland-display=quorvane-mutter > "$mutterlog" 2>&1 &
  mutter=$!
  within 20 grep -q "Using public X11 display" "$mutterlog" || fail "mutter did not start Xwayland: $(cat "$mutterlog")"
  export WAYLAND_DISPLAY=quorvane-mutter DISPLAY="$(sed -nE 's/.*Using public X11 display (:[0-9]+).*/\1/p' "$mutterlog" | head -n1)"
  export XAUTHORITY="$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* | head -n1)"
  # What mutter publishes of its workspaces on the Xwayland root: their number from the start,
  # the current one only once it has changed.
  within 10 xprop -root _NET_NUMBER_OF_DESKTOPS | grep -q '= ' || fail "no workspaces on mutter's Xwayland root"
  start_gnome_app() { XDG_CURRENT_DESKTOP=GNOME "$APP" > "$WORK/$1.log" 2>&1 & pid=$!; }
  start_gnome_app gnome
  wait_for_log gnome "the desktop's own custom shortcuts" || fail "GNOME's custom shortcuts are not the road"
  wait_for_log gnome "the command line reaches this instance" || fail "the instance did not take the command line"
  assign 19
  within 15 entry_listed || fail "assigning Ctrl+Alt+2 wrote no entry: $(entries)"
  entry="$base/quorvane1/"
  parked_now "assigned"
  [ "$(gsettings get $keys.custom-keybinding:$entry name)" = "'Quorvane: Work'" ] || fail "the entry's name: $(gsettings get $keys.custom-keybinding:$entry name)"
  [ "$(gsettings get $keys.custom-keybinding:$entry binding)" = "'<Control><Alt>2'" ] || fail "the entry's binding"
  command="$(python3 -c 'import ast, sys; print(ast.literal_eval(sys.argv[1]))' "$(gsettings get $keys.custom-keybinding:$entry command)")"
  [ "$command" = "$APP --switch-to Work" ] || fail "the entry's command: $command"
  users_own || fail "the user's own entry changed: $(entries)"
  # The shell runs the entry's command when the keys are pressed.
  sh -c "$command" > "$WORK/gnome-cli.out" 2>&1 || fail "the entry's command failed: $(cat "$WORK/gnome-cli.out")"
  wait_for 'c["activeWorkspace"] == "Work"' || fail "the entry's command did not switch"
  [ "$(listing "$HOME/Desktop")" = "work.txt|" ] || fail "Desktop after the entry's command: $(listing "$HOME/Desktop")"
  assign ""
  within 15 no_entry_of_ours || fail "removing the assignment left the entry: $(entries)"
  users_own || fail "the user's own entry changed: $(entries)"
  # A quit takes the entry out.
  assign 19
  within 15 entry_listed || fail "the entry did not come back"
  stop_app
  no_entry_of_ours || fail "the entry stayed after a quit: $(entries)"
  parked_now "after a quit"
  # A kill -9 leaves it; the next start takes it out before anything else.
  start_gnome_app gnome-2
  within 15 entry_listed || fail "the entry was not written at the start"
  kill -KILL $pid; wait $pid 2>/dev/null || true
  entry_listed || fail "the entry went with the killed process"
  assign ""
  start_gnome_app gnome-3
  within 15 no_entry_of_ours || fail "a stale entry stayed after a crash and a start: $(entries)"
  users_own || fail "the user's own entry changed: $(entries)"
  parked_now "after a crash and a start"
  stop_app
  # mutter's current workspace on the root, once changed.
  # (The value is waited for, not the first answer: mutter sets it a moment after the request.)
  on_second_workspace() { xprop -root _NET_CURRENT_DESKTOP 2>/dev/null | grep -q '= 1'; }
  wmctrl -s 1
  within 10 on_second_workspace || fail "no current workspace on mutter's root"
  kill $mutter 2>/dev/null || true
  wait $mutter 2>/dev/null || true
  unset GSETTINGS_BACKEND XAUTHORITY
  echo "GNOME's custom shortcuts under mutter: ok"
else
  echo "GNOME's custom shortcuts: mutter or GNOME's schemas are not installed, not tried"
fi
echo PASS > "$WORK/result"
SESSION
chmod +x "$WORK/session.sh"
status=0
"${E2E_DISPLAY%/*}/own_session.py" --bus "$WORK/session.sh" || status=$?
grep -q PASS "$WORK/result" 2>/dev/null || { echo "FAIL (session status $status)"; exit 1; }
echo PASS
