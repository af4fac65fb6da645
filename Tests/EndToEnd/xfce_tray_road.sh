#!/usr/bin/env bash
# The status item in a real XFCE session (xfce4-panel's status tray draws it and its menu):
# the glyph is legible on the dark panel; a right click opens Quorvane's menu and a pick
# switches; two wheel notches over the icon switch; a middle click runs the carousel; xfdesktop
# draws the switched Desktop's icons anew; the cleanup reminder reaches the bus with the
# application's icon; the glyph turns dark when the panel turns light; a cue below the icons
# becomes xfdesktop's background, which still opens its menu, a dark desktop turns the XSETTINGS
# theme, and both come back exactly; a red cue at 0.3 shows over the user's wallpaper, its pixels
# measured against the blend and printed. Every switch is checked on disk and in config.json.
# The glyph's contrast against the panel around it is measured in pictures on the dark panel, the
# light one and the one a dark desktop turns dark, printed and held to 3:1 at least; the menu
# the panel reads over the bus carries the shortcut as keys and Quit's freedesktop icon name.
# Pictures go to $QUORVANE_TEST_ARTIFACTS. The application runs on a clock set ahead, so that its
# reminder falls due 30 s after the document is written.
# The road is run in two sessions side by side, each starting from the glyph on the dark panel:
# PART "tray" goes from the menu to the reminder, PART "desktop" from the light panel on.
# Usage: xfce_tray_road.sh PATH_TO_QUORVANE PATH_TO_QUORVANE_WINDOW_GRAB tray|desktop
set -euo pipefail
case "${3:-}" in
  tray|desktop) ;;
  *) echo "usage: $0 PATH_TO_QUORVANE PATH_TO_QUORVANE_WINDOW_GRAB tray|desktop"; exit 2 ;;
esac
source "${BASH_SOURCE[0]%/*}/xfce_session_lib.sh"
source "${BASH_SOURCE[0]%/*}/clock_ahead_lib.sh"
xfce_prepare "$1"
export GRAB="$2" PART="$3"
clock_ahead_find

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$XFCE_LIB"
source "${XFCE_LIB%/*}/clock_ahead_lib.sh"
start_xfce_session
# The user's own wallpaper, zoomed as XFCE's default is: two flat halves of the screen's size.
mkdir -p "$HOME/Pictures"
convert -size 640x800 xc:'#3A7D44' -size 640x800 xc:'#F2E8CF' +append "$HOME/Pictures/halves.png"
wallpaper_keys() { xfconf-query -c xfce4-desktop -l 2>/dev/null | grep '/last-image$'; }
within_for 10 wallpaper_keys >/dev/null || fail "xfdesktop keeps no wallpaper"
for key in $(wallpaper_keys); do
  xfconf-query -c xfce4-desktop -p "$key" -s "$HOME/Pictures/halves.png"
done
# The colour of the screen's pixel X Y, as "R G B".
screen_pixel() {
  import -window root ppm:- 2>/dev/null | convert - -crop "1x1+$1+$2" -depth 8 txt:- \
    | sed -nE 's/.*\(([0-9]+),([0-9]+),([0-9]+)\).*/\1 \2 \3/p'
}
# Below the icons, one point in each half.
blend_points="400 650 1000 650"
wallpaper_shown() { [ "$(screen_pixel 400 650)" = "58 125 68" ] && [ "$(screen_pixel 1000 650)" = "242 232 207" ]; }
within 10 wallpaper_shown || fail "xfdesktop does not show the user's wallpaper: $(screen_pixel 400 650), $(screen_pixel 1000 650)"
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
  > "$WORK/notify.log" 2>&1 &

# Three live desktops ("Work" active), one archived and waiting to be sorted, its cleanup
# reminder due at a whole minute of the application's clock, 30 s from now (after the steps
# over the glyph, which its notification could cover).
clock_ahead_plan 30
mkdir -p "$root/.store" "$root/Play" "$root/Misc" "$root/Sea" "$root/Night" "$root/Dawn" "$root/Archive/Old" "$root/_Hidden Desktop"
echo work > "$HOME/Desktop/work.txt"
echo play > "$root/Play/play.txt"
echo misc > "$root/Misc/misc.txt"
python3 - "$config" "$fire" "$root/Archive/Old" "$PART" <<'PY'
import json, sys
path, fire, archived, part = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
reference = 978307200
day_start = fire - fire % 86400
json.dump({
    "activeWorkspace": "Work",
    "workspaces": [
        {"name": "Work", "files": ["work.txt"], "hotkey": {"keyCode": 101, "modifiers": 917504}},
        {"name": "Play", "files": ["play.txt"]},
        {"name": "Misc", "files": ["misc.txt"]},
        {"name": "Sea", "files": [], "cue": {"enabled": True, "fill": {"color": {"_0": "#336699"}}, "opacity": 1.0,
                                            "aboveIcons": False, "aboveMenuBar": False}},
        {"name": "Night", "files": [], "preferredAppearance": "dark"},
        {"name": "Dawn", "files": [], "cue": {"enabled": True, "fill": {"color": {"_0": "#FF0000"}}, "opacity": 0.3,
                                             "aboveIcons": False, "aboveMenuBar": False}},
        {"name": "Old", "files": [], "state": "archivedUnsorted", "archiveLocation": archived,
         "archivedAt": day_start - reference - 86400},
        {"name": "_Hidden Desktop", "files": []},
    ],
    # The reminder only where it is waited for: its notification could cover the steps after it.
    "cleanupTasks": [{"id": "5F1D7A2C-3B4E-4C6D-9E8F-0A1B2C3D4E5F", "members": ["Old"],
                      "date": day_start - reference}] if part == "tray" else [],
    "settings": {"shownFirstSwitchNote": True, "cleanupNotifyMinutes": (fire % 86400) // 60,
                 "cleanupNotifySound": False, "menuBarAnimation": "none", "showShortcutsInMenu": True},
}, open(path, "w"))
PY
# The glyph against the panel around it in picture $1: measured until it reads at 3:1 (the panel
# and then the glyph redraw after a change), printed, and held to it.
glyph_contrast() {
  local gx gy ratio=0
  reads() {
    read -r gx gy <<<"$(glyph_centre)" || return 1
    import -window root "$QUORVANE_TEST_ARTIFACTS/$1.png" 2>/dev/null || return 1
    ratio="$("$GRAB" --contrast "$QUORVANE_TEST_ARTIFACTS/$1.png" $((gx - 16)) 0 32 "$panel_size")"
    python3 -c "import sys; sys.exit(0 if float('$ratio') >= 3 else 1)"
  }
  within 5 reads "$1" || fail "$1: the glyph reads at $ratio:1 against the panel, under 3:1"
  echo "$1: the glyph at $ratio:1 against the panel"
}
only_on_desktop() { # $1: the one item the Desktop must hold, $2: the desktop that must be active
  wait_for "c['activeWorkspace'] == '$2'" || fail "$2 is not active: $(cat "$config")"
  [ "$(listing "$HOME/Desktop")" = "$1|" ] || fail "the Desktop holds $(listing "$HOME/Desktop")"
}

# 1. The glyph shows on the dark panel (start_app waits until it stands out from it).
clock_ahead_app "$WORK/ahead.sh"
APP="$WORK/ahead.sh" start_app app
grep -q 'registered with the status area' "$WORK/app.log" || fail "the item did not register with the panel's watcher"
read -r x y <<<"$(glyph_centre)"
width="$(xwininfo -root | awk '/Width:/ {print $2}')"
import -window root ppm:- | convert - -crop "320x${panel_size}+$(( width - 320 ))+0" +repage \
  "$QUORVANE_TEST_ARTIFACTS/xfce-panel-glyph.png"
glyph_contrast xfce-panel-dark
echo "glyph on the dark panel: ok"
# The menu as the panel reads it: Work's shortcut as text after a tab in its label, in the order
# the settings show it (no "shortcut" keys the panel would order its own way), Quit's icon by its
# freedesktop name.
status_host="${XFCE_LIB%/*}/status_host.py"
item="$(python3 "$status_host" registered | head -n1)"
python3 "$status_host" layout "$item" > "$QUORVANE_TEST_ARTIFACTS/xfce-exported-menu.txt"
cat "$QUORVANE_TEST_ARTIFACTS/xfce-exported-menu.txt"
grep -qx $'Work\tCtrl+Alt+Shift+F9|||radio' "$QUORVANE_TEST_ARTIFACTS/xfce-exported-menu.txt" || fail "Work's entry as the panel reads it"
grep -qx 'Quit|application-exit||' "$QUORVANE_TEST_ARTIFACTS/xfce-exported-menu.txt" || fail "Quit's entry as the panel reads it"
echo "the exported menu: ok"
# The desktop under the panel, where xfdesktop draws the Desktop's icons, as picture $1.
desktop_picture() {
  import -window root ppm:- | convert - -crop "480x400+0+${panel_size}" +repage "$WORK/$1.png"
}
differing_pixels() { compare -metric AE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 || true; }
desktop_picture desktop-work

if [ "$PART" = tray ]; then
# 2. A right click opens our menu (Work, Play, Misc, ...): the third item switches to Misc.
xdotool mousemove "$x" "$y" click 3
sleep 1.5
import -window root "$QUORVANE_TEST_ARTIFACTS/xfce-status-menu.png"
xdotool key Down Down Down Return
only_on_desktop misc.txt Misc
[ "$(listing "$root/Work")" = "work.txt|" ] || fail "Work's folder: $(listing "$root/Work")"
echo "menu pick: ok"

# 3. Two notches up over the icon: Misc, Play, then Work once the scrolling has stopped. One
# program sends both, 0.15 s apart: two programs started on a loaded machine could be further
# apart than the pause that ends a scroll.
xdotool mousemove "$x" "$y" click --repeat 2 --delay 150 4
only_on_desktop work.txt Work
echo "wheel: ok"

# 4. A middle click: the carousel's next stop after Work.
xdotool click 2
only_on_desktop play.txt Play
echo "middle click: ok"

# 5. xfdesktop still draws the Desktop, now holding Play's file: its icons are no longer
# those it drew over Work's.
xdotool search --onlyvisible --class xfdesktop >/dev/null || fail "xfdesktop has no window"
redrawn=
for i in $(seq 1 25); do
  desktop_picture desktop-play
  [ "$(differing_pixels desktop-work desktop-play)" -gt 50 ] && { redrawn=1; break; }
  sleep 0.2
done
import -window root "$QUORVANE_TEST_ARTIFACTS/xfce-desktop-after-switches.png"
[ -n "$redrawn" ] || fail "xfdesktop still draws Work's icons after the switch to Play"
echo "xfdesktop: ok"

# 6. The reminder reaches the notification server at its minute.
while [ "$EPOCHSECONDS" -lt $(( due + 15 )) ] && ! grep -q 'member=Notify' "$WORK/notify.log"; do _nap 1; done
grep -q 'string "“Old” is still waiting to be sorted."' "$WORK/notify.log" || fail "no reminder: $(cat "$WORK/notify.log")"
# Its icon (the argument after the id it replaces) is the application's own, as its entry names it.
grep -A1 '^ *uint32 ' "$WORK/notify.log" | grep -q '^ *string "app.quorvane.Quorvane"' || fail "the reminder does not carry the application's icon: $(cat "$WORK/notify.log")"
echo "reminder: ok"
fi

if [ "$PART" = desktop ]; then
# 7. The panel turned light (its own switch off, a light theme): the glyph turns dark on it.
xfconf-query -c xfce4-panel -p /panels/dark-mode -s false
panel_light() { [ "$(panel_corner_lightness)" -gt 128 ]; }
within 10 panel_light || fail "the panel did not turn light"
# The glyph follows once the application has seen the panel's change: in its own time.
within 10 glyph_centre >/dev/null 2>&1 || fail "the glyph does not stand out from the light panel"
import -window root ppm:- | convert - -crop "320x${panel_size}+$(( width - 320 ))+0" +repage \
  "$QUORVANE_TEST_ARTIFACTS/xfce-panel-glyph-light.png"
glyph_contrast xfce-panel-light
echo "light panel: ok"

# 8. Sea's cue below the icons becomes xfdesktop's background, and the desktop still opens its
# menu on a right click; Night turns the XSETTINGS theme dark; back on Work the user's own
# background and theme return exactly.
pick() { # $1: how many places down the status menu
  xdotool mousemove "$x" "$y" click 3
  sleep 1.5
  local i
  for i in $(seq 1 "$1"); do xdotool key Down; done
  xdotool key Return
}
backdrop() { xfconf-query -c xfce4-desktop -l -v | sort; }
users_backdrop="$(backdrop)"
users_theme="$(xfconf-query -c xsettings -p /Net/ThemeName)"
pick 4
wait_for "c['activeWorkspace'] == 'Sea'" || fail "Sea is not active"
shows_sea() {
  local key
  for key in $(xfconf-query -c xfce4-desktop -l | grep '/workspace0/rgba1$'); do
    [ "$(xfconf-query -c xfce4-desktop -p "$key" | tail -n4 | tr '\n' ' ')" = "0.200000 0.400000 0.600000 1.000000 " ] && return 0
  done
  return 1
}
within 5 shows_sea || fail "xfdesktop's background on Sea: $(backdrop)"
desktop_menu() {
  local w
  for w in $(xdotool search --onlyvisible --class xfdesktop 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q POPUP_MENU && return 0
  done
  return 1
}
xdotool mousemove 700 500 click 3
within 3 desktop_menu || fail "a right click on the desktop under Sea's cue opened no menu"
import -window root "$QUORVANE_TEST_ARTIFACTS/xfce-cue-desktop-menu.png"
xdotool key Escape
pick 5
wait_for "c['activeWorkspace'] == 'Night'" || fail "Night is not active"
theme_is() { [ "$(xfconf-query -c xsettings -p /Net/ThemeName)" = "$1" ]; }
within 5 theme_is Adwaita-dark || fail "theme on Night: $(xfconf-query -c xsettings -p /Net/ThemeName)"
glyph_contrast xfce-panel-after-dark-desktop
pick 1
wait_for "c['activeWorkspace'] == 'Work'" || fail "Work is not active again"
users_backdrop_back() { [ "$(backdrop)" = "$users_backdrop" ]; }
within 5 users_backdrop_back || fail "xfdesktop's background back on Work: $(diff <(echo "$users_backdrop") <(backdrop))"
[ "$(xfconf-query -c xsettings -p /Net/ThemeName)" = "$users_theme" ] || fail "the theme back on Work: $(xfconf-query -c xsettings -p /Net/ThemeName)"
echo "cue as xfdesktop's background, its menu, the dark theme and back: ok"

# 9. Dawn's red cue at 0.3 below the icons: xfdesktop shows the user's wallpaper with the cue laid
# over it, each point measured against the blend worked out here from the wallpaper's own pixel
# (0.7 of it and 0.3 of the red); back on Work the user's background returns exactly.
blended() { # $1 $2: a point; $3 $4 $5: the wallpaper's colour there
  python3 -c "import sys; print(*(round(0.7 * int(c) + 0.3 * r) for c, r in zip(sys.argv[1:], (255, 0, 0))))" "$3" "$4" "$5"
}
near() { # "R G B" and "R G B": each within 2
  python3 -c "import sys; a, b = sys.argv[1].split(), sys.argv[2].split(); sys.exit(0 if a and all(abs(int(x) - int(y)) <= 2 for x, y in zip(a, b)) else 1)" "$1" "$2"
}
within 10 wallpaper_shown \
  || fail "the user's wallpaper is not on screen on Work: $(screen_pixel 400 650), $(screen_pixel 1000 650); xfdesktop: $(pgrep -a xfdesktop || echo none)"
declare -A wall
set -- $blend_points
while [ $# -gt 0 ]; do wall["$1 $2"]="$(screen_pixel "$1" "$2")"; shift 2; done
pick 6
wait_for "c['activeWorkspace'] == 'Dawn'" || fail "Dawn is not active"
shows_blend() {
  local point
  for point in "${!wall[@]}"; do
    # shellcheck disable=SC2086
    near "$(screen_pixel $point)" "$(blended $point ${wall[$point]})" || return 1
  done
}
within 10 shows_blend || true
import -window root "$QUORVANE_TEST_ARTIFACTS/xfce-cue-blend.png"
for point in "${!wall[@]}"; do
  # shellcheck disable=SC2086
  echo "cue at 0.3 over the wallpaper at $point: measured $(screen_pixel $point), blend $(blended $point ${wall[$point]}) of wallpaper ${wall[$point]} and #FF0000"
done
shows_blend || fail "xfdesktop's picture on Dawn is not the blend of the wallpaper and the cue: $(backdrop); xfdesktop: $(pgrep -a xfdesktop || echo none)"
pick 1
wait_for "c['activeWorkspace'] == 'Work'" || fail "Work is not active after Dawn"
within 5 users_backdrop_back || fail "xfdesktop's background back on Work after Dawn: $(diff <(echo "$users_backdrop") <(backdrop))"
within 10 wallpaper_shown || fail "the user's wallpaper is not shown again on Work"
echo "a translucent cue over the user's wallpaper and back: ok"
fi

stop_app
echo PASS > "$WORK/result"
SESSION
xfce_run_session "$WORK/session.sh"
