#!/usr/bin/env bash
# The application in a session whose desktop host draws the wallpaper and the icons in one
# window (pcmanfm's desktop, then xfdesktop, under openbox on Xvfb), with the XFCE settings
# daemon on the session's bus, in a temporary home folder: a cue below the icons becomes the
# host's own background, no window of ours lies over the desktop and a right click on it still
# opens the desktop's menu; back on a desktop without a cue the user's own background returns
# exactly, and again at quit. A dark desktop turns the XSETTINGS theme to its dark variant,
# and the switch back restores the user's theme byte for byte. On pcmanfm's desktop, which saves
# its settings a moment after it took them, a translucent cue's opacity changed while it shows and
# a kill -9 under a translucent cue leave the user's wallpaper in its settings and on screen, never
# a picture of ours. With HOST, that host alone, so that the two hosts' sessions run side by side.
# Usage: desktop_host_road.sh PATH_TO_QUORVANE [pcmanfm|xfdesktop]
set -euo pipefail
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
case "${2:-}" in
  '') hosts="pcmanfm xfdesktop" ;;
  pcmanfm|xfdesktop) hosts="$2" ;;
  *) echo "usage: $0 PATH_TO_QUORVANE [pcmanfm|xfdesktop]"; exit 2 ;;
esac
# shellcheck disable=SC2086
e2e_prepare "$1" $hosts xfconf-query xprop dbus-run-session xcompmgr import convert
e2e_desktop_host_prepare

# A fresh home for each host: the desktops, the themes, and pcmanfm's profile with the user's
# own background (xfdesktop writes its own at its first start).
prepare_home() {
  rm -rf "$HOME"
  root="$HOME/QuorVane Desktops"
  mkdir -p "$HOME/Desktop" "$root/.store" "$root/Default" "$root/Sea" "$root/Night" "$root/_Hidden Desktop" \
    "$root/Tide" "$root/Dawn" "$HOME/.themes/Greybird/gtk-3.0" "$HOME/.themes/Greybird-dark/gtk-3.0" \
    "$XDG_CONFIG_HOME/pcmanfm/default"
  echo day > "$HOME/Desktop/day.txt"
  cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [
  {"name": "Default", "files": ["day.txt"], "preferredAppearance": "system"},
  {"name": "Sea", "files": [], "preferredAppearance": "system",
   "cue": {"enabled": true, "fill": {"color": {"_0": "#336699"}}, "opacity": 1.0,
           "aboveIcons": false, "aboveMenuBar": false}},
  {"name": "Night", "files": [], "preferredAppearance": "dark"},
  {"name": "Glass", "files": [], "preferredAppearance": "system",
   "cue": {"enabled": true, "fill": {"color": {"_0": "#993366"}}, "opacity": 0.5,
           "aboveIcons": true, "aboveMenuBar": false}},
  {"name": "Tide", "files": [], "preferredAppearance": "system",
   "cue": {"enabled": true, "fill": {"color": {"_0": "#336699"}}, "opacity": 0.7,
           "aboveIcons": false, "aboveMenuBar": false}},
  {"name": "Dawn", "files": [], "preferredAppearance": "system",
   "cue": {"enabled": true, "fill": {"color": {"_0": "#FF0000"}}, "opacity": 0.3,
           "aboveIcons": false, "aboveMenuBar": false}},
  {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true}}
JSON
  printf 'P3\n1 1\n255\n170 0 0\n' > "$HOME/mine.ppm"
  printf '[*]\nwallpaper_mode=fit\nwallpaper_common=1\nwallpaper=%s\ndesktop_bg=#102030\n' "$HOME/mine.ppm" \
    > "$XDG_CONFIG_HOME/pcmanfm/default/desktop-items-0.conf"
  rm -f "$WORK/result"
}

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
"$XFCONFD" >/dev/null 2>&1 &
within 5 xfconf-query -c xsettings -l >/dev/null 2>&1 || true
xfconf-query -c xsettings -p /Net/ThemeName -n -t string -s Greybird
theme() { xfconf-query -c xsettings -p /Net/ThemeName; }
users_theme="$(theme)"

# The host's background, as one text; whether it shows Sea's colour.
if [ "$HOST" = pcmanfm ]; then
  profile="$XDG_CONFIG_HOME/pcmanfm/default/desktop-items-0.conf"
  setting() { sed -n "s/^$1=//p" "$profile"; }
  background() { echo "$(setting wallpaper)|$(setting wallpaper_mode)"; }
  shows_sea() { [ "$(background)" = "$root/.store/background-336699.png|stretch" ]; }
else
  background() { xfconf-query -c xfce4-desktop -l -v; }
  shows_sea() {
    local ws=/backdrop/screen0/monitorscreen/workspace0
    [ "$(xfconf-query -c xfce4-desktop -p $ws/image-style)" = 0 ] \
      && [ "$(xfconf-query -c xfce4-desktop -p $ws/rgba1 | tail -n4 | tr '\n' ' ')" = "0.200000 0.400000 0.600000 1.000000 " ]
  }
fi
wait_until() { within 5 "$@"; }
host_windows() { xdotool search --onlyvisible --class "$HOST" 2>/dev/null || true; }
host_windows_of_type() {
  local w
  for w in $(host_windows); do window_property "$w" _NET_WM_WINDOW_TYPE | grep -q "$1" && echo "$w"; done
  return 0
}
has_desktop_window() { [ -n "$(host_windows_of_type _NET_WM_WINDOW_TYPE_DESKTOP)" ]; }

start_desktop_session
xcompmgr >/dev/null 2>&1 &
if [ "$HOST" = pcmanfm ]; then pcmanfm --desktop >/dev/null 2>&1 & else xfdesktop >/dev/null 2>&1 & fi
wait_until has_desktop_window || fail "$HOST's desktop window never showed"
has_background() { [ -n "$(background)" ]; }
wait_until has_background || fail "$HOST holds no background"
users_background="$(background)"
start_app app

# 1. Sea's cue below the icons is the desktop's own background; the desktop still answers.
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Sea"' || fail "the switch to Sea did not finish"
wait_until shows_sea || fail "$HOST's background on Sea: $(background)"
[ -f "$root/.store/ledger.json" ] || fail "the user's background is not kept in the store"
[ -z "$(viewable_windows "Quorvane desktop cue")" ] || fail "a cue window lies over the desktop"
[ -z "$(host_windows_of_type POPUP_MENU)" ] || fail "a menu was open before the click"
xdotool mousemove 700 500 click 3
has_menu() { [ -n "$(host_windows_of_type POPUP_MENU)" ]; }
wait_until has_menu || fail "a right click on the desktop opened no menu"
xdotool key Escape
echo "$HOST: cue as the desktop's background, desktop menu on a right click: ok"

# 2. Back on Default: the user's own background, exactly; the kept copy gone.
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back to Default did not finish"
is_users() { [ "$(background)" = "$users_background" ]; }
wait_until is_users || fail "background on Default: $(background), the user's: $users_background"
[ ! -e "$root/.store/ledger.json" ] || fail "the kept background stayed after it came back"
echo "$HOST: the user's background back: ok"

# 2b. (pcmanfm) The user's wallpaper is one red picture, fitted: what shows at a point of it is
# that red, or a translucent cue laid over that red, never over a picture of ours.
if [ "$HOST" = pcmanfm ]; then
  screen_pixel() {
    import -window root ppm:- 2>/dev/null | convert - -crop "1x1+$1+$2" -depth 8 txt:- \
      | sed -nE 's/.*\(([0-9]+),([0-9]+),([0-9]+)\).*/\1 \2 \3/p'
  }
  near() { # "R G B" and "R G B": each within 2
    python3 -c "import sys; a, b = sys.argv[1].split(), sys.argv[2].split(); sys.exit(0 if a and all(abs(int(x) - int(y)) <= 2 for x, y in zip(a, b)) else 1)" "$1" "$2"
  }
  blend() { # $1: the cue's opacity, $2 $3 $4: its colour; over the user's red
    python3 -c "import sys; o = float(sys.argv[1]); print(*(round((1 - o) * u + o * int(c)) for u, c in zip((170, 0, 0), sys.argv[2:])))" "$@"
  }
  shows() { near "$(screen_pixel 800 600)" "$1"; }
  in_store() { case "$(setting wallpaper)" in "$root/.store/"*) return 0 ;; esac; return 1; }
  wait_until shows "170 0 0" || fail "the user's red wallpaper is not on screen: $(screen_pixel 800 600)"
  # Tide's cue at 0.7, then 0.65 as the wallpaper editor writes it while Tide is active.
  choose_from_menu 5
  wait_for 'c["activeWorkspace"] == "Tide"' || fail "the switch to Tide did not finish"
  wait_until in_store || fail "pcmanfm's wallpaper on Tide: $(background)"
  tide_seventy="$(setting wallpaper)"
  wait_until shows "$(blend 0.7 51 102 153)" || fail "Tide at 0.7 shows $(screen_pixel 800 600), not $(blend 0.7 51 102 153)"
  python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
for w in c["workspaces"]:
    if w["name"] == "Tide":
        w["cue"]["opacity"] = 0.65
json.dump(c, open(sys.argv[1], "w"))
PY
  moved_on() { in_store && [ "$(setting wallpaper)" != "$tide_seventy" ]; }
  wait_until moved_on || fail "pcmanfm's wallpaper after the opacity changed: $(background)"
  wait_until shows "$(blend 0.65 51 102 153)" || fail "Tide at 0.65 shows $(screen_pixel 800 600), not $(blend 0.65 51 102 153)"
  grep -q "$HOME/mine.ppm" "$root/.store/ledger.json" || fail "the ledger lost the user's wallpaper: $(cat "$root/.store/ledger.json")"
  choose_from_menu 1
  wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back from Tide did not finish"
  wait_until is_users || fail "pcmanfm's background back from Tide: $(background), the user's: $users_background"
  wait_until shows "170 0 0" || fail "back from Tide the desktop shows $(screen_pixel 800 600), not the user's red"
  echo "$HOST: an opacity changed under the cue, the user's wallpaper back: ok"

  # Dawn's red cue at 0.3, a kill -9, a start: the cue over the user's red, and the user's back.
  choose_from_menu 6
  wait_for 'c["activeWorkspace"] == "Dawn"' || fail "the switch to Dawn did not finish"
  wait_until in_store || fail "pcmanfm's wallpaper on Dawn: $(background)"
  wait_until shows "$(blend 0.3 255 0 0)" || fail "Dawn shows $(screen_pixel 800 600), not $(blend 0.3 255 0 0)"
  kill -KILL $pid; wait $pid 2>/dev/null || true
  start_app app-after-crash
  wait_for 'c["activeWorkspace"] == "Dawn"' || fail "the start after the crash is not on Dawn"
  sleep 1 # what the start shows lands on the desktop
  wait_until shows "$(blend 0.3 255 0 0)" || fail "after the crash Dawn shows $(screen_pixel 800 600), not $(blend 0.3 255 0 0) over the user's red"
  grep -q "$HOME/mine.ppm" "$root/.store/ledger.json" || fail "after the crash the ledger lost the user's wallpaper: $(cat "$root/.store/ledger.json")"
  choose_from_menu 1
  wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back from Dawn did not finish"
  wait_until is_users || fail "pcmanfm's background back from Dawn after a crash: $(background), the user's: $users_background"
  wait_until shows "170 0 0" || fail "back from Dawn the desktop shows $(screen_pixel 800 600), not the user's red"
  [ ! -e "$root/.store/ledger.json" ] || fail "the ledger stayed after the user's background came back"
  echo "$HOST: a kill -9 under a translucent cue, the user's wallpaper back: ok"
fi

# 3. A dark desktop turns the XSETTINGS theme dark; back on Default the user's theme returns.
choose_from_menu 3
wait_for 'c["activeWorkspace"] == "Night"' || fail "the switch to Night did not finish"
theme_is() { [ "$(theme)" = "$1" ]; }
wait_until theme_is Greybird-dark || fail "theme on Night: $(theme)"
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back from Night did not finish"
wait_until theme_is "$users_theme" || fail "theme back on Default: '$(theme)', the user's '$users_theme'"
echo "$HOST: dark desktop through the XSETTINGS theme and back: ok"

# 4. Above the icons the cue is a window over the desktop that takes no click: a right click
# through it still opens the desktop's menu.
choose_from_menu 4
wait_for 'c["activeWorkspace"] == "Glass"' || fail "the switch to Glass did not finish"
has_band() { [ -n "$(viewable_windows "Quorvane desktop cue")" ]; }
wait_until has_band || fail "no cue window above the icons"
wait_until is_users || fail "background under Glass's cue above the icons: $(background)"
xdotool mousemove 600 450 click 3
wait_until has_menu || fail "a right click through the cue window opened no desktop menu"
xdotool key Escape
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back from Glass did not finish"
echo "$HOST: a click through the cue above the icons reaches the desktop: ok"

# 5. Quitting on Sea puts the user's background back.
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Sea"' || fail "the second switch to Sea did not finish"
wait_until shows_sea || fail "no cue on the second visit to Sea"
stop_app
wait_until is_users || fail "background after quitting: $(background)"
[ "$HOST" != pcmanfm ] || wait_until shows "170 0 0" || fail "after quitting the desktop shows $(screen_pixel 800 600)"
echo "$HOST: background back at quit: ok"
echo PASS > "$WORK/result"
SESSION

for HOST in $hosts; do
  export HOST
  prepare_home
  e2e_run_session_on_bus "$WORK/session.sh"
done
