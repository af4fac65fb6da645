#!/usr/bin/env bash
# The floating dock, the hot corner and following workspaces on a real display: going to a
# workspace bound to a desktop switches to it, resting the pointer in the bottom-left corner
# shows the dock, a tile click switches, the status menu's item toggles the dock. Every step
# is checked on disk, in config.json and in the window list.
# Usage: dock_road.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app" wmctrl xcompmgr

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
# A (active), B and C live with one file each, D archived; A and B bound to the first two
# workspaces; the dock's corner is the bottom-left one with a 300 ms dwell.
mkdir -p "$root/.store" "$root/A" "$root/B" "$root/C" "$root/Archive/D" "$root/_Hidden Desktop"
echo a > "$HOME/Desktop/a.txt"
echo b > "$root/B/b.txt"
echo c > "$root/C/c.txt"
echo d > "$root/Archive/D/d.txt"
cat > "$config" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "A",
 "workspaces": [{"name": "A", "files": ["a.txt"], "spaceUUID": "ewmh-desktop-0"},
                {"name": "B", "files": ["b.txt"], "spaceUUID": "ewmh-desktop-1"},
                {"name": "C", "files": ["c.txt"]},
                {"name": "D", "files": ["d.txt"], "state": "archivedSorted"},
                {"name": "_Hidden Desktop", "files": []}],
 "settings": {"followSpaces": true, "floatingDockShowFlipButtons": false,
              "floatingDockCorner": "bottomLeft", "floatingDockCornerDwellMs": 300,
              "shownFirstSwitchNote": true}}
JSON
start_desktop_session
xcompmgr >/dev/null 2>&1 &
wmctrl -n 4
start_app app
# The icon shows early in the launch; the workspace follower and the corner start at its end,
# and a workspace left before the follower starts is never followed.
wait_for_log app "following workspaces" || fail "the application does not follow workspaces"

# Desktop $1 is active: its file on the Desktop, every other live desktop's in its folder.
active_on_disk() {
  local name="$1" other
  wait_for "c[\"activeWorkspace\"] == \"$name\"" || fail "config.json does not name $name active"
  local file
  file="$(echo "$name" | tr 'A-Z' 'a-z').txt"
  [ "$(listing "$HOME/Desktop")" = "$file|" ] || fail "$name active: the Desktop holds $(listing "$HOME/Desktop")"
  for other in A B C; do
    [ "$other" = "$name" ] && continue
    local theirs
    theirs="$(echo "$other" | tr 'A-Z' 'a-z').txt"
    [ "$(listing "$root/$other")" = "$theirs|" ] || fail "$name active: $other's folder holds $(listing "$root/$other")"
  done
  [ "$(listing "$root/Archive/D")" = "d.txt|" ] || fail "the archived desktop's folder changed"
}
# Waits up to $1 tenths of a second until config.json names $2 active.
active_is() { [ "$(json 'c["activeWorkspace"]')" = "$1" ]; }
wait_active() { within "$(_tenths "$1")" active_is "$2"; }
dock_geometry() { # prints x y width height of the viewable dock window $1
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}
click_tile() { # $1: window, $2: 1-based tile
  local x y w h
  read -r x y w h <<<"$(dock_geometry "$1")"
  [ "$w" = 278 ] || fail "the dock is $w wide, not 278"
  xdotool mousemove $((x + 17 + ($2 - 1) * 82 + 40)) $((y + h / 2)) click 1
}
# The corner follows the pointer's device movements (a warp alone moves no device): the pointer
# is put mid-screen, nudged there, and then moved into the corner as a mouse moves it.
rest_in_corner() {
  xdotool mousemove 640 400 mousemove_relative 1 0
  # The application sees the pointer leave the corner before it comes back (nothing to wait for).
  pause 0.3
  xdotool mousemove_relative -- -641 399
}

# 1. Following workspaces.
wmctrl -s 1
wait_active 50 B || fail "going to workspace 2 did not make B active within 5 s"
active_on_disk B
wmctrl -s 2
# Time passes on purpose: a workspace bound to no desktop changes nothing.
pause 2
active_on_disk B
wmctrl -s 0
wait_active 50 A || fail "going back to workspace 1 did not make A active"
active_on_disk A
echo "following workspaces: ok"

# 2. The corner shows the dock; a tile switches; the corner again hides it.
rest_in_corner
dock="$(wait_window 'Floating dock' 30)" || fail "resting in the corner showed no dock"
is_viewable "$dock" || fail "the dock is not viewable"
click_tile "$dock" 2
wait_active 50 B || fail "clicking the second tile did not make B active"
active_on_disk B
rest_in_corner
wait_unmapped "$dock" 30 || fail "resting in the corner again did not hide the dock"
echo "hot corner and tiles: ok"

# 3. The status menu's item shows and hides the dock.
choose_from_menu 7
dock="$(wait_window 'Floating dock' 30)" || fail "the menu item showed no dock"
click_tile "$dock" 3
wait_active 50 C || fail "clicking the third tile did not make C active"
active_on_disk C
choose_from_menu 7
wait_unmapped "$dock" 30 || fail "choosing the menu item again did not hide the dock"
active_on_disk C
echo "menu item: ok"

stop_app
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
