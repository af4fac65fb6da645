#!/usr/bin/env bash
# A new desktop from the status menu, on a real X display with a window manager and a tray
# host, in a temporary home folder: "New desktop…" opens the "New desktop" window in front;
# a typed name and Return create the desktop (record and empty folder) without touching the
# Desktop, and it can be switched to at once; an existing name is explained under the field,
# Return creates nothing and the window stays open for another name; Escape creates nothing.
# Usage: new_desktop.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app" xprop
echo one > "$HOME/Desktop/one.txt"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
names() { json '[w["name"] for w in c["workspaces"]]'; }
# The status menu lists the live desktops, then "Hide current desktop", then "New desktop…".
new_desktop_item() { echo $(( $(json 'len([w for w in c["workspaces"] if w.get("state", "active") == "active" and w["name"] != "_Hidden Desktop"])') + 2 )); }
open_new_desktop() {
  choose_from_menu "$(new_desktop_item)"
  win="$(wait_window 'New desktop' 20)" || fail "no window named New desktop within 2 s"
}

# Before: "Default" active with one file on the Desktop, the first-switch note already shown.
start_app bootstrap
wait_for 'c["activeWorkspace"] == "Default"' || fail "no document naming Default"
stop_app
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c.setdefault("settings", {})["shownFirstSwitchNote"] = True
json.dump(c, open(sys.argv[1], "w"))
PY
start_app app

# 1. The window maps in front, and the one-time shortcut hint is spent.
open_new_desktop
wait_window_active "$win" || fail "the New desktop window is not the active window"
wait_for 'c["settings"].get("showShortcutHint", True) == False' || fail "showShortcutHint is still set"
echo "window: ok"

# 2. A name with blanks around it and Return: the desktop exists at once, nothing moved.
default_color="$(json 'c["workspaces"][0]["colorHex"]')"
xdotool type --delay 40 " Projects "
xdotool key Return
wait_unmapped "$win" || fail "the window stayed open after Return"
wait_for 'c["workspaces"][-2]["name"] == "Projects"' || fail "no record Projects: $(cat "$config")"
[ "$(names)" = "['Default', 'Projects', '_Hidden Desktop']" ] || fail "desktops: $(names)"
[ "$(json '[w for w in c["workspaces"] if w["name"] == "Projects"][0].get("type", "permanent")')" = permanent ] || fail "Projects is not permanent"
projects_color="$(json '[w for w in c["workspaces"] if w["name"] == "Projects"][0]["colorHex"]')"
case "$projects_color" in '#FF9F0A'|'#FF375F'|'#BF5AF2'|'#0A84FF'|'#64D2FF'|'#30D158'|'#FFD60A'|'#FF6B3D') ;;
  *) fail "Projects' colour $projects_color is not a palette colour" ;; esac
[ "$projects_color" != "$default_color" ] || fail "Projects has Default's colour"
[ -d "$root/Projects" ] && [ -z "$(listing "$root/Projects")" ] || fail "no empty folder Projects"
[ "$(listing "$HOME/Desktop")" = "one.txt|" ] || fail "the Desktop changed: $(listing "$HOME/Desktop")"
echo "create: ok"

# 3. The new desktop is in the menu and can be switched to.
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Projects"' || fail "choosing Projects from the menu did not switch"
[ -z "$(listing "$HOME/Desktop")" ] || fail "the Desktop of Projects holds $(listing "$HOME/Desktop")"
[ "$(listing "$root/Default")" = "one.txt|" ] || fail "Default's folder: $(listing "$root/Default")"
echo "switch: ok"

# 4. An existing name: said under the field (no alert over the window), nothing stored by
# Return, the window stays for another.
open_new_desktop
before="$(md5sum "$config" | cut -d' ' -f1)"
wait_window_active "$win" || fail "the New desktop window did not take the keyboard"
xdotool type --delay 40 "Projects"
xdotool key Return
alert_shown() {
  local id
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    [ "$id" = "$win" ] && continue
    xprop -id "$id" WM_TRANSIENT_FOR 2>/dev/null | grep -qi "$(printf '0x%x' "$win")" && return 0
  done
  return 1
}
within 3 alert_shown && fail "an alert over the New desktop window for a name already taken"
[ "$(md5sum "$config" | cut -d' ' -f1)" = "$before" ] || fail "config.json changed"
is_viewable "$win" || fail "the New desktop window went after Return on a name already taken"
xdotool key ctrl+a
xdotool type --delay 40 "Later"
xdotool key Return
wait_unmapped "$win" || fail "the window stayed open after creating Later"
wait_for '"Later" in [w["name"] for w in c["workspaces"]]' || fail "no record Later: $(names)"
[ -d "$root/Later" ] || fail "no folder Later"
echo "refusal: ok"

# 5. Escape creates nothing.
open_new_desktop
wait_window_active "$win" || fail "the New desktop window did not take the keyboard"
xdotool type --delay 40 "Nope"
xdotool key Escape
wait_unmapped "$win" || fail "Escape did not close the window"
# Time for a record that should not be written to land.
pause 0.3
[ "$(json '"Nope" in [w["name"] for w in c["workspaces"]]')" = False ] || fail "a record Nope exists"
[ ! -e "$root/Nope" ] || fail "a folder Nope exists"
echo "cancel: ok"
stop_app
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
