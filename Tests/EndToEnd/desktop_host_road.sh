#!/usr/bin/env bash
# The application in a session whose desktop host draws the wallpaper and the icons in one
# window (pcmanfm's desktop under openbox on Xvfb), with the XFCE settings daemon on the
# session's bus, in a temporary home folder: a cue below the icons becomes the host's own
# background, no window of ours lies over the desktop and a right click on it still opens the
# desktop's menu; back on a desktop without a cue the user's own background returns exactly,
# and again at quit. A dark desktop turns the XSETTINGS theme to its dark variant, and the
# switch back restores the user's theme byte for byte.
# Usage: desktop_host_road.sh PATH_TO_QUORVANE
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/session_lib.sh"
e2e_prepare "$1" pcmanfm xfconf-query xprop dbus-run-session
XFCONFD=
for candidate in /usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd /usr/lib/xfce4/xfconf/xfconfd \
                 /usr/libexec/xfce4/xfconf/xfconfd; do
  [ -x "$candidate" ] && { XFCONFD="$candidate"; break; }
done
[ -n "$XFCONFD" ] || { echo "SKIP: no xfconfd"; exit 77; }
export XFCONFD XDG_CURRENT_DESKTOP=XFCE

root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Sea" "$root/Night" "$root/_Hidden Desktop" \
  "$HOME/.themes/Greybird/gtk-3.0" "$HOME/.themes/Greybird-dark/gtk-3.0"
echo day > "$HOME/Desktop/day.txt"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [
  {"name": "Default", "files": ["day.txt"], "preferredAppearance": "system"},
  {"name": "Sea", "files": [], "preferredAppearance": "system",
   "cue": {"enabled": true, "fill": {"color": {"_0": "#336699"}}, "opacity": 1.0,
           "aboveIcons": false, "aboveMenuBar": false}},
  {"name": "Night", "files": [], "preferredAppearance": "dark"},
  {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true}}
JSON
# The user's own desktop background, in pcmanfm's profile.
profile="$XDG_CONFIG_HOME/pcmanfm/default/desktop-items-0.conf"
mkdir -p "$(dirname "$profile")"
printf 'P3\n1 1\n255\n170 0 0\n' > "$HOME/mine.ppm"
printf '[*]\nwallpaper_mode=fit\nwallpaper_common=1\nwallpaper=%s\ndesktop_bg=#102030\n' "$HOME/mine.ppm" > "$profile"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
profile="$XDG_CONFIG_HOME/pcmanfm/default/desktop-items-0.conf"
setting() { sed -n "s/^$1=//p" "$profile"; }
"$XFCONFD" >/dev/null 2>&1 &
for i in $(seq 1 50); do xfconf-query -c xsettings -l >/dev/null 2>&1 && break; sleep 0.1; done
xfconf-query -c xsettings -p /Net/ThemeName -n -t string -s Greybird
theme() { xfconf-query -c xsettings -p /Net/ThemeName; }
users_theme="$(theme)"
start_desktop_session
pcmanfm --desktop >/dev/null 2>&1 &
desk=
for i in $(seq 1 50); do
  for w in $(xdotool search --onlyvisible --class pcmanfm 2>/dev/null); do
    window_property "$w" _NET_WM_WINDOW_TYPE | grep -q DESKTOP && desk=$w
  done
  [ -n "$desk" ] && break
  sleep 0.1
done
[ -n "$desk" ] || fail "pcmanfm's desktop window never showed"
users_wallpaper="$(setting wallpaper)|$(setting wallpaper_mode)"
popup_menus() {
  for w in $(xdotool search --onlyvisible --class pcmanfm 2>/dev/null); do
    window_property "$w" _NET_WM_WINDOW_TYPE | grep -q POPUP_MENU && echo "$w"
  done
  return 0
}
start_app app

# 1. Sea's cue below the icons is the desktop's own background; the desktop still answers.
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Sea"' || fail "the switch to Sea did not finish"
cue_picture="$HOME/QuorVane Desktops/.store/background-336699.png"
for i in $(seq 1 50); do [ "$(setting wallpaper)" = "$cue_picture" ] && break; sleep 0.1; done
[ "$(setting wallpaper)|$(setting wallpaper_mode)" = "$cue_picture|stretch" ] \
  || fail "pcmanfm's background on Sea: $(setting wallpaper)|$(setting wallpaper_mode)"
[ -f "$HOME/QuorVane Desktops/.store/background.json" ] || fail "the user's background is not kept in the store"
[ -z "$(viewable_windows "Quorvane desktop cue")" ] || fail "a cue window lies over the desktop"
[ -z "$(popup_menus)" ] || fail "a menu was open before the click"
xdotool mousemove 700 500 click 3
menu=
for i in $(seq 1 30); do menu="$(popup_menus)"; [ -n "$menu" ] && break; sleep 0.1; done
[ -n "$menu" ] || fail "a right click on the desktop opened no menu"
xdotool key Escape
echo "cue as the desktop's background, desktop menu on a right click: ok"

# 2. Back on Default: the user's own background, exactly; the kept copy gone.
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back to Default did not finish"
for i in $(seq 1 50); do [ "$(setting wallpaper)|$(setting wallpaper_mode)" = "$users_wallpaper" ] && break; sleep 0.1; done
[ "$(setting wallpaper)|$(setting wallpaper_mode)" = "$users_wallpaper" ] \
  || fail "background on Default: $(setting wallpaper)|$(setting wallpaper_mode), the user's: $users_wallpaper"
[ ! -e "$HOME/QuorVane Desktops/.store/background.json" ] || fail "the kept background stayed after it came back"
echo "the user's background back: ok"

# 3. A dark desktop turns the XSETTINGS theme dark; back on Default the user's theme returns.
choose_from_menu 3
wait_for 'c["activeWorkspace"] == "Night"' || fail "the switch to Night did not finish"
[ "$(theme)" = "Greybird-dark" ] || fail "theme on Night: $(theme)"
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back from Night did not finish"
[ "$(theme)" = "$users_theme" ] || fail "theme back on Default: '$(theme)', the user's '$users_theme'"
echo "dark desktop through the XSETTINGS theme and back: ok"

# 4. Quitting on Sea puts the user's background back.
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Sea"' || fail "the second switch to Sea did not finish"
for i in $(seq 1 50); do [ "$(setting wallpaper)" = "$cue_picture" ] && break; sleep 0.1; done
[ "$(setting wallpaper)" = "$cue_picture" ] || fail "no cue on the second visit to Sea"
stop_app
[ "$(setting wallpaper)|$(setting wallpaper_mode)" = "$users_wallpaper" ] || fail "background after quitting: $(setting wallpaper)"
echo "background back at quit: ok"
echo PASS > "$WORK/result"
SESSION
e2e_run_session_on_bus "$WORK/session.sh"
