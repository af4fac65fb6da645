#!/usr/bin/env bash
# The application's looks on a real X display with a window manager and a tray host, in a
# temporary home folder. In the dark theme: pictures of General, Desktops and Appearance, each
# section's name in the sidebar, each line of the pages' rows, subtitles and hint bar reading at
# least 4.5:1 and the page's title 3:1, each line measured alone (the light look's too, under
# "System" and at twice the scale), each week of the calendar; the "New desktop" window with
# its empty, framed name field; the line under the field for a name already taken, and the note
# after the first switch, each line of both as readable. At twice the scale: a picture of General, its
# sidebar as readable. Under "System", the window turns dark as the session's colour
# scheme does, while it is open, and as an XSETTINGS manager's theme does (XFCE's, its theme set
# through xfconf, and xsettingsd); a picture at each Tab
# stop of the "New desktop" window, of the calendar and of the settings window, each showing where
# the focus went. Every window carries the
# application's icon. In both looks the edges of a check box, the name field and two buttons
# against their surroundings, measured on the pictures and printed as a table, at least 3:1.
# The choosers: on an XFCE session the image chooser is GTK's, opening in Pictures; elsewhere
# the desktop portal's, asked for on the bus; the pin chooser opens in the Desktop folder without
# what is pinned. Escape closes each, choosing nothing, and then the settings window.
# The pictures go to $QUORVANE_TEST_ARTIFACTS.
# For review, under a compositing manager: each floating window (the calendar, the "New desktop"
# window, the move prompt) over the settings window, nothing of it showing through, transient for
# it when opened from it; the "Can't do that" alert whole, its frame and title; every settings page
# at the desktop's font of 11 and of 13 points. Every contrast measured goes into a table,
# contrast-table.txt among the pictures.
# The road comes in three parts that run side by side, each in a session of its own: "dark" (the
# dark theme, then "System", whose pictures are held against the dark ones), "light" (twice the
# scale, the light edges, the choosers) and "review" (the pictures above). Without a part, all in
# one session.
# Usage: looks_road.sh PATH_TO_QUORVANE PATH_TO_WINDOW_GRAB [dark|light|review]
set -euo pipefail
app="$1"
case "${3:-}" in
  dark) export LOOKS_SECTIONS="1 3" ;;
  light) export LOOKS_SECTIONS="2 4 5" ;;
  review) export LOOKS_SECTIONS="6 7 8" ;;
  "") export LOOKS_SECTIONS="1 2 3 4 5 6 7 8" ;;
  *) echo "usage: $0 PATH_TO_QUORVANE PATH_TO_WINDOW_GRAB [dark|light|review]"; exit 2 ;;
esac
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app" xprop gsettings gdbus /usr/libexec/at-spi-bus-launcher convert dbus-monitor xcompmgr
export TREE="${BASH_SOURCE[0]%/*}/accessible_tree.py"
# The session's settings in a file of the temporary home, light to begin with.
export GSETTINGS_BACKEND=keyfile
gsettings set org.gnome.desktop.interface color-scheme 'prefer-light' || { echo "SKIP: no interface schema"; exit 77; }
export GRAB="$2" ARTIFACTS="${QUORVANE_TEST_ARTIFACTS:-$WORK/artifacts}"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

# The desktop entry names the application's icon, shipped beside it, and the windows' class.
resources="$(cd "${BASH_SOURCE[0]%/*}/../../Resources" && pwd)"
entry="$resources/app.quorvane.Quorvane.desktop"
icon="$(sed -n 's/^Icon=//p' "$entry")"
[ -f "$resources/$icon.svg" ] || { echo "FAIL: the entry's icon $icon is not in Resources"; exit 1; }
[ "$(sed -n 's/^StartupWMClass=//p' "$entry")" = Quorvane ] || { echo "FAIL: the entry's StartupWMClass is not Quorvane"; exit 1; }

root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Client Pitch" "$root/_Hidden Desktop"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [{"name": "Default"}, {"name": "Client Pitch"}, {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true, "showCleanupCalendarInMenu": true, "showFloatingDockInMenu": true,
              "appearance": {"mode": "dark"}}}
JSON

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
# A user's accessibility switch, as the desktop's settings turn it on, before the application starts.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null
start_desktop_session
# A row of the contrast table: the picture, the part measured, its lines of text, the lowest
# contrast of them and the least asked for.
table_row() {
  [ -s "$ARTIFACTS/contrast-table.txt" ] \
    || printf '%-34s | %-20s | %5s | %8s | %s\n' picture part lines contrast "at least" > "$ARTIFACTS/contrast-table.txt"
  printf '%-34s | %-20s | %5s | %6s:1 | %s:1\n' "$1" "$2" "$3" "$4" "$5" >> "$ARTIFACTS/contrast-table.txt"
}
# Fails when the text in part X Y W H of picture $1 reads under $2:1.
readable() {
  local ratio
  ratio="$("$GRAB" --contrast "$ARTIFACTS/$1.png" "$3" "$4" "$5" "$6")"
  table_row "$1" "$3,$4 ${5}x$6" 1 "$ratio" "$2"
  python3 -c "import sys; sys.exit(0 if float('$ratio') >= $2 else 1)" \
    || fail "$1: the text at $3,$4 ${5}x$6 reads at $ratio:1, under $2:1"
  echo "$1 $3,$4: $ratio:1"
}
# Fails when a line of text in part X Y W H of picture $1 reads under $2:1, or when the part holds
# fewer than $3 lines.
readable_lines() {
  local ratio lines
  read -r ratio lines <<<"$("$GRAB" --contrast-lines "$ARTIFACTS/$1.png" "$4" "$5" "$6" "$7")"
  table_row "$1" "$4,$5 ${6}x$7" "$lines" "$ratio" "$2"
  [ "$lines" -ge "$3" ] || fail "$1: $lines lines of text at $4,$5 ${6}x$7, not $3"
  python3 -c "import sys; sys.exit(0 if float('$ratio') >= $2 else 1)" \
    || fail "$1: a line of text at $4,$5 ${6}x$7 reads at $ratio:1, under $2:1"
  echo "$1 $4,$5, each of $lines lines: at least $ratio:1"
}
# The application's alert over window $1 (decimal), waited for.
other_alert() {
  local id
  for id in $(alert_windows); do
    [ "$((id))" = "$(($1))" ] || { echo "$id"; return 0; }
  done
}
alert_over() { within_for 3 other_alert "$1"; }
open_settings() {
  choose_from_menu_end 2
  win="$(wait_window 'Quorvane Settings' 50)" || fail "no window titled Quorvane Settings"
  sleep 0.8
}
# What assistive technology reads of the application (a user's accessibility switch is on).
readout() { /usr/bin/python3 "$TREE" Quorvane; }
# The box "X Y W H" of the first showing object of role $2 (named $3 when given) in the window
# titled $1, in the window's own coordinates (window id $4).
box_in_window() {
  local origin
  origin="$(xwininfo -id "$4" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')"
  readout | python3 -c '
import sys
title, role, name, ox, oy = sys.argv[1], sys.argv[2], sys.argv[3], *map(int, sys.argv[4].split())
inside = False
for line in sys.stdin:
    depth = (len(line) - len(line.lstrip(" "))) // 2
    fields = line.strip().split("|")
    if depth == 1:
        inside = fields[1] == title
    elif inside and fields[0] == role and (not name or fields[1] == name):
        x, y, w, h = map(int, fields[-1].split(","))
        if w > 0 and h > 0:
            print(x - ox, y - oy, w, h)
            break
' "$1" "$2" "$3" "$origin"
}
# The edge of the control of role $3 (named $4, or the first) in window $2 titled $1 against what
# surrounds it, in each of the pictures named after it: a field's or a button's top edge crossed
# by a strip from 4 pixels outside to 3 inside, a check box's left edge by one from 4 outside to
# 6 inside, away from their texts. Each picture shows the window laid out as it is now; the lowest
# figure counts (a focus ring around the control raises it); printed as a row of the table, and held
# to 3:1.
control_edge() {
  local title="$1" window="$2" role="$3" name="$4" box x y w h part ratio lowest=99 picture
  shift 4
  box="$(within_for 5 box_in_window "$title" "$role" "$name" "$window")" \
    || { readout > "$ARTIFACTS/accessible-tree.txt"; fail "no $role '$name' in $title's accessibility tree"; }
  read -r x y w h <<<"$box"
  case "$role" in
    'check box') part="$((x - 4)) $((y + h / 2 - 3)) 10 7" ;; # before its text
    *) part="$((x + w / 4)) $((y - 4)) $((w / 2)) 7" ;;
  esac
  for picture in "$@"; do
    # shellcheck disable=SC2086
    ratio="$("$GRAB" --contrast "$ARTIFACTS/$picture.png" $part)"
    lowest="$(python3 -c "print(min($lowest, $ratio))")"
  done
  printf 'edge | %-10s | %-24s | %-5s:1 | %s\n' "$role" "${name:-(first)}" "$lowest" "$*"
  python3 -c "import sys; sys.exit(0 if $lowest >= 3 else 1)" \
    || echo "$title: the edge of $role '$name' stands at $lowest:1 against its surroundings, under 3:1" >> "$WORK/edges-under"
}
# Fails when an edge of the table so far stands under 3:1.
edges_held() { [ ! -s "$WORK/edges-under" ] || fail "$(cat "$WORK/edges-under")"; }
# Down in the sidebar once for each picture named after the first, each waited for until it shows
# another section than the one before: on a loaded machine three presses in a row may be pictured
# before the last section has come.
sections_down() { # $1: the picture before, then the picture of each section that follows
  local previous="$1" picture
  shift
  for picture in "$@"; do
    press Down
    [ "$(picture_until "$win" "$picture" "$previous" -gt 2000)" -gt 2000 ] || fail "Down did not show the section after $previous"
    previous="$picture"
  done
}
section() { [[ " $LOOKS_SECTIONS " == *" $1 "* ]]; }
has_icon() { [ -n "$(xprop -id "$1" _NET_WM_ICON 2>/dev/null | grep -v 'not found' | head -c 200)" ] || fail "window $1 has no icon"; }
# Clicks the middle of the control of role $3 named $4 in window $2 titled $1.
click_control() {
  local box x y w h
  box="$(within_for 5 box_in_window "$1" "$3" "$4" "$2")" || fail "no $3 '$4' in $1"
  read -r x y w h <<<"$box"
  xdotool mousemove --window "$2" $((x + w / 2)) $((y + h / 2)) click 1
}
# The names of what window $1 (its title) shows, one a line.
names_in_window() {
  readout | python3 -c '
import sys
inside = False
for line in sys.stdin:
    depth = (len(line) - len(line.lstrip(" "))) // 2
    fields = line.strip().split("|")
    if depth == 1:
        inside = fields[1] == sys.argv[1]
    elif inside and fields[1]:
        print(fields[1])
' "$1"
}

if section 1; then
# 1. Dark, at the ordinary scale.
start_app dark
open_settings
has_icon "$win"
[ "$(window_property "$win" WM_CLASS)" = '"quorvane", "Quorvane"' ] || fail "WM_CLASS: $(window_property "$win" WM_CLASS)"
settled_picture "$win" dark-general
readable_lines dark-general 4.5 9 40 8 130 250   # the sidebar's section names
readable dark-general 3 190 4 300 36             # the page's title
readable_lines dark-general 4.5 8 236 40 420 300 # the rows' titles and subtitles
press Down
[ "$(picture_until "$win" dark-desktops dark-general -gt 2000)" -gt 2000 ] || fail "Down did not show Desktops"
readable_lines dark-desktops 4.5 9 40 8 130 250
readable_lines dark-desktops 4.5 4 205 50 500 210 # the rows, the hint bar, the archive's header and text
sections_down dark-desktops dark-pinned dark-organize dark-appearance
readable_lines dark-appearance 4.5 9 40 8 130 250
readable_lines dark-appearance 4.5 6 236 320 440 160
# The header's "New desktop…" opens the window over the settings.
press Up; press Up; press Up
press Tab
press space
new="$(wait_window 'New desktop' 30)" || fail "no New desktop window"
has_icon "$new"
settled_picture "$new" dark-new-desktop
# A name already taken: said under the field as it is typed, and Return creates nothing.
xdotool type --delay 30 "Default"
[ "$(picture_until "$new" dark-name-taken dark-new-desktop -gt 300)" -gt 300 ] || fail "no word under the field for a name already taken"
readable_lines dark-name-taken 4.5 1 28 88 330 20 # the line under the field
press Return
alert_over "$new" >/dev/null && fail "an alert as well for a name already taken"
# Tab through the window: every stop shows where the focus is, a picture each.
previous=dark-name-taken
for stop in 1 2 3 4 5 6 7; do
  press Tab
  [ "$(picture_until "$new" "dark-tab-$stop" "$previous" -gt 40)" -gt 40 ] || fail "Tab stop $stop of the New desktop window shows no focus"
  previous="dark-tab-$stop"
done
control_edge 'New desktop' "$new" text '' dark-new-desktop dark-name-taken dark-tab-1 dark-tab-2 dark-tab-3 dark-tab-4 dark-tab-5 dark-tab-6 dark-tab-7
control_edge 'New desktop' "$new" 'check box' 'Add to middle-click carousel' dark-tab-1 dark-tab-2 dark-tab-3 dark-tab-4 dark-tab-5 dark-tab-6 dark-tab-7
control_edge 'New desktop' "$new" 'push button' Cancel dark-tab-1 dark-tab-2 dark-tab-3 dark-tab-4 dark-tab-5 dark-tab-6 dark-tab-7
press Escape
wait_unmapped "$new" || fail "Escape left the New desktop window open"
control_edge 'Quorvane Settings' "$win" 'push button' 'New desktop…' dark-desktops
edges_held
# The calendar, the dock and the scroll display in the dark theme.
choose_from_menu 5
calendar="$(wait_window 'Cleanup calendar' 50)" || fail "no Cleanup calendar window"
has_icon "$calendar"
settled_picture "$calendar" dark-calendar
readable dark-calendar 4.5 20 60 400 300
# The day sidebar's note, in its secondary colour.
if note_box="$(box_in_window 'Cleanup calendar' label 'Nothing scheduled on this day.' "$calendar")" && [ -n "$note_box" ]; then
  # shellcheck disable=SC2086
  readable dark-calendar 4.5 $note_box
fi
readable_lines dark-calendar 4.5 6 20 100 420 280 # each week of days, the past ones too
previous=dark-calendar
for stop in 1 2 3; do
  press Tab
  [ "$(picture_until "$calendar" "dark-calendar-tab-$stop" "$previous" -gt 40)" -gt 40 ] || fail "Tab stop $stop of the calendar shows no focus"
  previous="dark-calendar-tab-$stop"
done
choose_from_menu 6
dock="$(wait_window 'Floating dock' 50)" || fail "no Floating dock window"
settled_picture "$dock" dark-dock
# The scroll display is up for 0.4 s after the wheel rests: one watcher, ready before the wheel
# turns, takes its picture as soon as it is painted (a poll by separate programs, each slow to
# start on a loaded machine, may see it only as it goes, or not at all).
wait_tray_icon_settled
read -r x y <<<"$(tray_icon_centre)"
xdotool mousemove "$x" "$y"
"$GRAB" --when-shown 'Quorvane scroll' "$ARTIFACTS/dark-scroll.png" $((10 * $(slowness))) > "$WORK/scroll-grab.txt" 2>&1 &
grabber=$!
watching() { grep -q ready "$WORK/scroll-grab.txt"; }
within 10 watching || fail "the scroll display's watcher did not start: $(cat "$WORK/scroll-grab.txt")"
xdotool click 5
wait "$grabber" || fail "no picture of the scroll display after a wheel click: $(cat "$WORK/scroll-grab.txt")"
# The neighbour's name above the current one (the ring has two names and does not wrap) reads as
# well as the current one.
read -r sw sh <<<"$(identify -format '%w %h' "$ARTIFACTS/dark-scroll.png")"
readable_lines dark-scroll 4.5 2 20 4 $((sw - 40)) $((sh - 8))
stop_app
# The first switch: the note that the files are kept.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["settings"]["shownFirstSwitchNote"] = False
json.dump(c, open(sys.argv[1], "w"))
PY
start_app first-switch
# The menu lists Default, then Client Pitch: the one not active.
if [ "$(json 'c["activeWorkspace"]')" = Default ]; then choose_from_menu 2; else choose_from_menu 1; fi
note="$(within_for 5 first_alert_window)" || fail "no note after the first switch"
sleep 0.3
picture "$note" dark-alert-first-switch
read -r aw ah <<<"$(window_size "$note")"
# The texts' column, right of the application's icon: no warning sign over the note.
read -r tx _ _ _ <<<"$(within_for 5 box_in_window Quorvane label "Your files aren't gone!" "$note")"
[ -n "$tx" ] || fail "no Your files aren't gone! in the note"
readable_lines dark-alert-first-switch 4.5 2 "$tx" 0 $((aw - tx)) "$ah"
answer_alert
stop_app
echo "dark: ok"
fi

if section 2; then
# 2. Light, at twice the scale.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["settings"]["appearance"]["mode"] = "light"
json.dump(c, open(sys.argv[1], "w"))
PY
QT_SCALE_FACTOR=2 start_app twice
open_settings
settled_picture "$win" twice-general
read -r w h <<<"$(window_size "$win")"
[ "$w" -ge 1400 ] || fail "the window is ${w}x$h at twice the scale"
readable_lines twice-general 4.5 9 80 16 260 500
press Down
[ "$(picture_until "$win" twice-desktops twice-general -gt 2000)" -gt 2000 ] || fail "Down did not show Desktops"
sections_down twice-desktops twice-pinned twice-organize twice-appearance
readable_lines twice-appearance 4.5 9 80 16 260 500
readable_lines twice-general 4.5 9 472 80 800 590 # the light look's rows, titles and subtitles
readable_lines twice-appearance 4.5 6 472 640 800 310
stop_app
echo "twice: ok"
fi

if section 3; then
# 3. "System": light with the session, dark as soon as the session turns dark.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["settings"]["appearance"]["mode"] = "system"
json.dump(c, open(sys.argv[1], "w"))
PY
start_app system
open_settings
settled_picture "$win" system-light
[ "$(pixels_between dark-general system-light)" -gt 20000 ] || fail "System in a light session looks dark"
readable_lines system-light 4.5 9 236 40 420 300
gsettings set org.gnome.desktop.interface color-scheme 'prefer-dark'
turned=
for i in $(seq 1 30); do
  sleep 0.2
  picture "$win" system-dark
  [ "$(pixels_between dark-general system-dark)" -lt 2000 ] && { turned=1; break; }
done
[ -n "$turned" ] || fail "the open window did not turn dark with the session"
readable_lines system-dark 4.5 9 40 8 130 250
# Back to light with the session; then an XSETTINGS manager (XFCE's, its theme set through
# xfconf) that starts with a dark theme and changes it to a light one, while the window is open.
matches() { picture "$win" "$1"; [ "$(pixels_between "$2" "$1")" -lt 2000 ]; }
looks_like() { within 6 matches "$1" "$2"; } # $1: the picture to take, $2: the one it should match
gsettings set org.gnome.desktop.interface color-scheme 'prefer-light'
looks_like system-light-again system-light || fail "the open window did not turn light with the session"
if command -v xfsettingsd >/dev/null && command -v xfconf-query >/dev/null; then
  within 10 xfconf-query -c xsettings -l >/dev/null 2>&1 || true
  xfconf-query -c xsettings -p /Net/ThemeName -n -t string -s Adwaita-dark
  xfsettingsd --no-daemon >/dev/null 2>&1 &
  xsettings=$!
  looks_like xsettings-dark dark-general || fail "the open window did not turn dark with the XSETTINGS theme"
  xfconf-query -c xsettings -p /Net/ThemeName -s Adwaita
  looks_like xsettings-light system-light || fail "the open window did not turn light with the XSETTINGS theme"
  xfconf-query -c xsettings -p /Net/ThemeName -s Adwaita-dark
  looks_like xsettings-dark-again dark-general || fail "the open window did not turn dark with the theme set while running"
  kill "$xsettings"
  wait "$xsettings" 2>/dev/null || true
  echo "xsettings: ok"
else
  echo "xsettings: not run (no xfsettingsd)"
fi
# The plain XSETTINGS manager of other sessions: its theme read from its file again on a hangup.
if command -v xsettingsd >/dev/null; then
  echo 'Net/ThemeName "Adwaita-dark"' > "$WORK/xsettingsd.conf"
  xsettingsd -c "$WORK/xsettingsd.conf" >/dev/null 2>&1 &
  xsettingsd=$!
  looks_like xsettingsd-dark dark-general || fail "the open window did not turn dark with xsettingsd's theme"
  echo 'Net/ThemeName "Adwaita"' > "$WORK/xsettingsd.conf"
  kill -HUP "$xsettingsd"
  looks_like xsettingsd-light system-light || fail "the open window did not turn light with xsettingsd's theme"
  kill "$xsettingsd"
  echo "xsettingsd: ok"
else
  echo "xsettingsd: not run (no xsettingsd)"
fi
stop_app
echo "system: ok"
fi

if section 4; then
# 4. Light at the ordinary scale: the controls' edges, the table printed.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["settings"]["appearance"]["mode"] = "light"
json.dump(c, open(sys.argv[1], "w"))
PY
start_app light
open_settings
settled_picture "$win" light-general
# Tab through the settings window from its sidebar: every stop shows where the focus is, a
# picture each; Shift+Tab walks back to the sidebar as it was.
previous=light-general
for stop in 1 2 3 4 5; do
  press Tab
  [ "$(picture_until "$win" "light-settings-tab-$stop" "$previous" -gt 40)" -gt 40 ] || fail "Tab stop $stop of the settings window shows no focus"
  previous="light-settings-tab-$stop"
done
for stop in 1 2 3 4 5; do press shift+Tab; done
[ "$(picture_until "$win" light-settings-back light-general -lt 40)" -lt 40 ] || fail "Shift+Tab did not walk back to the sidebar"
press Down
[ "$(picture_until "$win" light-desktops light-general -gt 2000)" -gt 2000 ] || fail "Down did not show Desktops"
press Tab
press space
new="$(wait_window 'New desktop' 30)" || fail "no New desktop window in the light look"
settled_picture "$new" light-new-desktop
previous=light-new-desktop
for stop in 1 2 3; do
  press Tab
  picture_until "$new" "light-tab-$stop" "$previous" -gt 40 >/dev/null
  previous="light-tab-$stop"
done
control_edge 'New desktop' "$new" text '' light-new-desktop light-tab-1 light-tab-2 light-tab-3
control_edge 'New desktop' "$new" 'check box' 'Add to middle-click carousel' light-new-desktop light-tab-1 light-tab-2 light-tab-3
control_edge 'New desktop' "$new" 'push button' Cancel light-new-desktop light-tab-1 light-tab-2 light-tab-3
press Escape
wait_unmapped "$new" || fail "Escape left the light New desktop window open"
control_edge 'Quorvane Settings' "$win" 'push button' 'New desktop…' light-desktops
edges_held
stop_app
echo "light edges: ok"
fi

if section 5; then
# 5. The choosers, met as a user meets them. On an XFCE session the wallpaper's image chooser is
# GTK's own, opening in Pictures: a name typed there and Return choose the picture. Elsewhere it
# is the desktop portal's, asked for on the bus. "Pin…" takes a file or a folder alike, which
# neither of those can: its chooser is the application's, opening in the Desktop folder without
# what is pinned already. Escape closes each, choosing nothing.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["settings"]["appearance"]["mode"] = "light"
c["settings"]["pinnedFolders"] = ["Notes"]
for w in c["workspaces"]:
    w["cue"] = {"enabled": False, "fill": {"image": {"_0": "/nowhere/old.png"}}, "opacity": 0.3}
json.dump(c, open(sys.argv[1], "w"))
PY
mkdir -p "$HOME/Desktop/Notes" "$HOME/Pictures"
touch "$HOME/Desktop/Plan.txt"
convert -size 8x8 xc:teal "$HOME/Pictures/sea.png"
# The platform's file chooser on screen (GTK's, the application's own process or the portal's):
# its window id and class.
platform_chooser() {
  local id
  for id in $(xwininfo -root -tree | grep -E '\("[^"]+" "[^"]+"\)' | awk '{print $1}'); do
    [ "$(window_property "$id" WM_WINDOW_ROLE)" = '"GtkFileChooserDialog"' ] && is_viewable "$id" \
      && { echo "$id $(window_property "$id" WM_CLASS)"; return 0; }
  done
  return 1
}
# Shows the Appearance section and scrolls its page until "Choose…" lies inside the window.
choose_button_shown() {
  local x y w h height
  read -r x y w h <<<"$(box_in_window 'Quorvane Settings' 'push button' 'Choose…' "$win")"
  read -r _ height <<<"$(window_size "$win")"
  [ -n "$h" ] && [ "$((y + h))" -lt "$height" ] && return 0
  xdotool mousemove --window "$win" 500 300 click 5 click 5 click 5
  return 1
}
open_choose_image() {
  click_control 'Quorvane Settings' "$win" 'list item' Appearance
  within 10 choose_button_shown || fail "no Choose… in the Appearance section"
  click_control 'Quorvane Settings' "$win" 'push button' 'Choose…'
}
# The image of the active desktop's wallpaper, the one the section edits.
cue_image() { json '[w for w in c["workspaces"] if w["name"] == c["activeWorkspace"]][0]["cue"]["fill"]["image"]["_0"]'; }

XDG_CURRENT_DESKTOP=XFCE start_app choosers-xfce
open_settings
click_control 'Quorvane Settings' "$win" 'list item' 'Pinned items'
click_control 'Quorvane Settings' "$win" 'push button' 'Pin a file or folder'
pin_title='Pin a file or folder'
pin_message='Choose a file or folder on your Desktop to keep on every desktop.'
chooser="$(wait_window "$pin_title" 50)" || fail "no chooser titled $pin_title after Pin…"
[ "$(window_property "$chooser" WM_CLASS)" = '"quorvane", "Quorvane"' ] || fail "the pin chooser is not the application's"
offered() { names_in_window "$pin_title" | grep -qxF Plan.txt; }
within 5 offered || fail "the pin chooser does not show the Desktop's Plan.txt: $(names_in_window "$pin_title" | tr '\n' '|')"
names_in_window "$pin_title" | grep -qxF Notes && fail "the pin chooser offers Notes, pinned already"
names_in_window "$pin_title" | grep -qxF "$pin_message" || fail "the pin chooser does not say what to choose"
settled_picture "$chooser" pin-chooser
press Escape
wait_unmapped "$chooser" || fail "Escape left the pin chooser open"
[ "$(json 'c["settings"]["pinnedFolders"]')" = "['Notes']" ] || fail "pins after Escape: $(json 'c["settings"]["pinnedFolders"]')"
echo "pin chooser: the application's, in the Desktop folder, Notes left out"
open_choose_image
found="$(within_for 10 platform_chooser)" || fail "no GTK file chooser after Choose…"
read -r chooser class <<<"$found"
[ "$class" = '"quorvane", "Quorvane"' ] || fail "the image chooser is shown by $class"
# A name typed after "./" is taken in the folder the chooser shows.
wait_window_active "$((chooser))" || fail "the image chooser did not take the keyboard"
settled_picture "$chooser" xfce-image-chooser
xdotool type --delay 60 ./sea.png
press Return
cue_copied() { [ "$(cue_image)" != /nowhere/old.png ]; }
within 10 cue_copied || fail "typing ./sea.png in the image chooser did not choose Pictures/sea.png"
wait_unmapped "$chooser" || fail "the image chooser stayed open"
echo "image chooser on XFCE: GTK's, in Pictures: $(cue_image)"
# Escape closes the settings window too.
press Escape
wait_unmapped "$win" || fail "Escape left the settings window open"
stop_app

# Without a desktop Qt gives a GTK theme, through the portal the session bus starts: asked for
# when a chooser opens, never by the start or the settings window.
if [ -f /usr/share/dbus-1/services/org.freedesktop.portal.Desktop.service ] \
  && [ -f /usr/share/xdg-desktop-portal/portals/gtk.portal ]; then
  before="$(cue_image)"
  dbus-monitor --session "interface='org.freedesktop.portal.FileChooser'" "destination='org.freedesktop.portal.Desktop'" \
    > "$WORK/portal-requests.txt" 2>&1 &
  monitor=$!
  XDG_CURRENT_DESKTOP= start_app choosers-portal
  open_settings
  grep -q 'destination=org.freedesktop.portal.Desktop' "$WORK/portal-requests.txt" \
    && fail "the portal was asked before a chooser opened: $(grep -m1 'destination=org.freedesktop.portal.Desktop' "$WORK/portal-requests.txt")"
  open_choose_image
  asked() { grep -q 'member=OpenFile' "$WORK/portal-requests.txt" && grep -q '"Use Image"' "$WORK/portal-requests.txt"; }
  within 10 asked || fail "no OpenFile request to the portal for Choose…"
  # Titled, opening in Pictures, offering nothing to choose beside the picture.
  grep -q '"Choose a wallpaper picture"' "$WORK/portal-requests.txt" || fail "the portal's chooser has no title"
  grep -q '"current_folder"' "$WORK/portal-requests.txt" || fail "the portal is not asked to open in Pictures"
  grep -q '"choices"' "$WORK/portal-requests.txt" && fail "the portal is asked for choices"
  found="$(within_for 20 platform_chooser)" || fail "no portal chooser after Choose…"
  read -r chooser class <<<"$found"
  echo "image chooser through the portal: shown by $class"
  settled_picture "$chooser" portal-image-chooser
  press Escape
  wait_unmapped "$chooser" || fail "Escape left the portal's chooser open"
  [ "$(cue_image)" = "$before" ] || fail "the portal's chooser closed by Escape changed the image"
  # The archive's folder, chosen in the portal's chooser as a folder.
  click_control 'Quorvane Settings' "$win" 'list item' Experimental
  click_control 'Quorvane Settings' "$win" 'push button' 'Choose custom archive placement'
  folder_asked() { grep -q '"directory"' "$WORK/portal-requests.txt" && grep -q '"Use Folder"' "$WORK/portal-requests.txt"; }
  within 10 folder_asked || fail "no folder asked of the portal for the archive's Choose…"
  found="$(within_for 20 platform_chooser)" || fail "no portal chooser for the archive's folder"
  read -r chooser _ <<<"$found"
  press Escape
  wait_unmapped "$chooser" || fail "Escape left the portal's folder chooser open"
  [ "$(json 'c["settings"].get("archiveRoot")')" = None ] || fail "Escape chose an archive folder: $(json 'c["settings"].get("archiveRoot")')"
  echo "archive folder chooser through the portal: ok"
  kill "$monitor"
  stop_app
else
  echo "portal: not run (no desktop portal with GTK's backend)"
fi
echo "choosers: ok"
fi
# The box "X Y W H" of window $1 on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}
# The window window $1 is transient for, decimal; nothing when none.
transient_for() {
  local id
  id="$(xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | grep -oE '0x[0-9a-fA-F]+' | head -n1)"
  [ -n "$id" ] && echo "$((id))"
}
# Window $1 moved over the settings window, pictured as $2 on the screen and as its own: inside
# its rounded corners ($3 pixels from its top, $4 from its bottom: past an animation at its top)
# the screen shows exactly the window's own picture, nothing of the settings window behind it. A
# picture of both, $2-scene, besides.
reads_alone() {
  local sx sy sw sh x y w h differing
  read -r sx sy sw sh <<<"$(geometry "$win")"
  read -r _ _ w h <<<"$(geometry "$1")"
  xdotool windowmove "$1" $((sx + (sw - w) / 2)) $((sy + 30))
  _nap 0.6
  read -r x y w h <<<"$(geometry "$1")"
  [ $((x + w / 2)) -gt "$sx" ] && [ $((x + w / 2)) -lt $((sx + sw)) ] && [ $((y + h / 2)) -gt "$sy" ] \
    && [ $((y + h / 2)) -lt $((sy + sh)) ] || fail "$2 could not be moved over the settings window"
  settled_picture "$1" "$2-own"
  "$GRAB" --screen "$x" "$y" "$w" "$h" "$ARTIFACTS/$2.png" || fail "no picture of the screen under $2"
  differing="$("$GRAB" --compare-inside "$ARTIFACTS/$2-own.png" "$ARTIFACTS/$2.png" "$3" "$4")"
  local left=$((x < sx ? x : sx)) top=$((y < sy ? y : sy))
  local right=$((x + w > sx + sw ? x + w : sx + sw)) bottom=$((y + h > sy + sh ? y + h : sy + sh))
  "$GRAB" --screen "$left" "$top" $((right - left)) $((bottom - top)) "$ARTIFACTS/$2-scene.png" || true
  printf 'over the settings window | %-12s | %s pixels of what lies behind show through\n' "$2" "$differing" \
    | tee -a "$ARTIFACTS/over-settings.txt"
  [ "$differing" = 0 ] || fail "$2: $differing pixels inside it show what lies behind"
}
# The lowest bottom of the labels and the highest top of the push buttons in window $2 titled $1.
text_and_buttons() {
  local origin
  origin="$(xwininfo -id "$2" | awk '/Absolute upper-left Y/ {y = $4} END {print y}')"
  readout | python3 -c '
import sys
title, top = sys.argv[1], int(sys.argv[2])
inside, text, buttons = False, 0, 10**6
for line in sys.stdin:
    depth = (len(line) - len(line.lstrip(" "))) // 2
    fields = line.strip().split("|")
    if depth == 1:
        inside = fields[1] == title
    elif inside and fields[1]:
        x, y, w, h = map(int, fields[-1].split(","))
        if fields[0] == "label" and h > 0:
            text = max(text, y + h - top)
        elif fields[0] == "push button" and h > 0:
            buttons = min(buttons, y - top)
print(text, buttons)
' "$1" "$origin"
}

if section 6; then
# 6. Under a compositing manager (the floating windows translucent, their corners round), each
# floating window over the settings window reads alone; opened from the settings window, each is
# its transient; the "New desktop" window keeps its height when a name is refused under its
# field; the move prompt carries the application's icon, its texts well clear of its buttons.
xcompmgr >/dev/null 2>&1 &
compositor=$!
start_app over
open_settings
click_control 'Quorvane Settings' "$win" 'list item' Organize
click_control 'Quorvane Settings' "$win" 'push button' 'Open calendar…'
calendar="$(wait_window 'Cleanup calendar' 50)" || fail "no Cleanup calendar window from Organize"
[ "$(transient_for "$calendar")" = "$((win))" ] || fail "the calendar is not transient for the settings window"
reads_alone "$calendar" over-calendar 24 24
press Escape
wait_unmapped "$calendar" || fail "Escape left the calendar open"
# The Desktops page behind: its headings, chevrons and Archive buttons.
click_control 'Quorvane Settings' "$win" 'list item' Desktops
click_control 'Quorvane Settings' "$win" 'push button' 'New desktop…'
new="$(wait_window 'New desktop' 30)" || fail "no New desktop window from the Desktops page"
[ "$(transient_for "$new")" = "$((win))" ] || fail "the New desktop window is not transient for the settings window: $(xprop -id "$new" WM_TRANSIENT_FOR) against $win"
read -r _ before <<<"$(window_size "$new")"
xdotool type --delay 30 "Default"
_nap 0.6
read -r _ after <<<"$(window_size "$new")"
[ "$before" = "$after" ] || fail "the New desktop window went from $before to $after pixels high as its error line appeared"
echo "new desktop: $before pixels high, with its error line and without"
press Tab # off the field: no caret blinks while it is pictured
reads_alone "$new" over-new-desktop 24 24
press Escape
wait_unmapped "$new" || fail "Escape left the New desktop window open"
stop_app
# The move prompt, as a copy started from Downloads offers it.
mkdir -p "$HOME/Downloads/quorvane-1.0"
cp -r "$WORK/prefix/." "$HOME/Downloads/quorvane-1.0/"
APP="$HOME/Downloads/quorvane-1.0/bin/quorvane" start_app downloaded
offer="$(wait_window 'Move Quorvane to your applications folder\?' 50)" || fail "no move prompt from Downloads"
has_icon "$offer"
open_settings
reads_alone "$offer" over-move-prompt 126 24 # the pulsing picture above
read -r text buttons <<<"$(within_for 5 text_and_buttons 'Move Quorvane to your applications folder?' "$offer")"
echo "move prompt: its last line of text ends $((buttons - text)) pixels above its buttons"
[ $((buttons - text)) -ge 12 ] || fail "the move prompt's text ends $((buttons - text)) pixels above its buttons"
stop_app
kill "$compositor"
wait "$compositor" 2>/dev/null || true
echo "over the settings window: ok"
fi

if section 7; then
# 7. The settings window's "Can't do that" alert, whole: the window manager's title in full over
# the model's sentence, said once, on one line; its picture with its frame.
start_app alert
open_settings
press Down
press Tab
press Tab # the first desktop's name
xdotool type --delay 30 "Client Pitch"
press Return
alert="$(wait_window "Can't do that" 30)" || fail "no window titled Can't do that"
_nap 0.4
picture "$alert" alert-cant-do-that
frame="$alert"
while parent="$(xwininfo -id "$frame" -tree | awk '/Parent window id:/ {print $4}')" \
  && [ "$((parent))" != "$(xwininfo -root | awk '/Window id:/ {print $4}' | xargs printf '%d')" ]; do
  frame="$parent"
done
picture "$frame" alert-cant-do-that-framed
read -r aw ah <<<"$(window_size "$alert")"
read -r fw fh <<<"$(window_size "$frame")"
echo "alert: ${aw}x$ah, with its frame ${fw}x$fh"
# At 181 pixels the window manager cut its title to "Can't… that".
[ "$aw" -ge 240 ] || fail "the alert is $aw pixels wide: too narrow for its title"
names_in_window "Can't do that" > "$WORK/alert-texts.txt"
grep -qxF "Can't do that" "$WORK/alert-texts.txt" && fail "the alert says Can't do that inside it as well"
grep -q 'Client Pitch' "$WORK/alert-texts.txt" || fail "the alert does not say why: $(tr '\n' '|' < "$WORK/alert-texts.txt")"
message="$(grep -m1 'Client Pitch' "$WORK/alert-texts.txt")"
box="$(within_for 5 box_in_window "Can't do that" label "$message" "$alert")" || fail "no message label in the alert"
# shellcheck disable=SC2086
readable_lines alert-cant-do-that 4.5 1 $box
# shellcheck disable=SC2086
read -r _ lines <<<"$("$GRAB" --contrast-lines "$ARTIFACTS/alert-cant-do-that.png" $box)"
[ "$lines" = 1 ] || fail "the alert's message runs over $lines lines: $message"
press Return
wait_unmapped "$alert" || fail "Return did not close the alert"
stop_app
echo "alert: ok"
fi

if section 8; then
# 8. Every settings page at the desktop's own font, 11 and 13 points (GTK's, as a GTK session
# gives it), with a long name in its rows, its rule and its pins; a desktop's row opened.
long='Photo Projects for the Autumn Exhibition'
mkdir -p "$root/$long"
python3 - "$config" "$long" <<'PY'
import json, sys, uuid
c = json.load(open(sys.argv[1]))
name = sys.argv[2]
c["workspaces"].insert(1, {"name": name})
c["settings"]["appearance"]["mode"] = "light"
c["settings"]["customFilters"] = [{"id": str(uuid.uuid4()).upper(), "enabled": True, "pattern": "invoice", "collection": name}]
c["settings"]["customFiltersEnabled"] = True
c["settings"]["pinnedFolders"] = [name + " notes"]
json.dump(c, open(sys.argv[1], "w"))
PY
mkdir -p "$XDG_CONFIG_HOME/gtk-3.0"
for points in 11 13; do
  printf '[Settings]\ngtk-font-name=DejaVu Sans %s\n' "$points" > "$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
  QT_QPA_PLATFORMTHEME=gtk3 start_app "font-$points"
  open_settings
  settled_picture "$win" "font-$points-general"
  sections_down "font-$points-general" "font-$points-desktops" "font-$points-pinned" "font-$points-organize" \
    "font-$points-appearance" "font-$points-dock" "font-$points-shortcuts" "font-$points-advanced" \
    "font-$points-experimental"
  click_control 'Quorvane Settings' "$win" 'list item' Desktops
  click_control 'Quorvane Settings' "$win" 'push button' "Details of $long"
  _nap 0.6
  settled_picture "$win" "font-$points-desktops-opened"
  stop_app
done
[ "$(pixels_between font-11-general font-13-general)" -gt 2000 ] || fail "the pages at 11 and 13 points look alike"
echo "fonts: ok"
fi
echo PASS > "$WORK/result"
SESSION
# Room for the settings window at twice the scale.
E2E_SCREEN=2600x1800x24 e2e_run_session "$WORK/session.sh"
