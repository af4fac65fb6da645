#!/usr/bin/env bash
# Each desktop keeps its icon layout, on the desktop hosts that keep positions themselves:
# pcmanfm's desktop and xfdesktop, under openbox on Xvfb, in a temporary home folder. An icon
# dragged to the middle of the screen goes with its desktop and comes back to the same place
# (in the host's own store and in a picture of the screen), and the other desktop's icon
# arrives where that desktop kept it. A positions file that is a link to a document, or a FIFO,
# is left as it is and stops no switch. With HOST, that host alone, so that the two hosts'
# sessions run side by side.
# Usage: icon_positions_road.sh PATH_TO_QUORVANE [pcmanfm|xfdesktop]
set -euo pipefail
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
case "${2:-}" in
  '') hosts="pcmanfm xfdesktop" ;;
  pcmanfm|xfdesktop) hosts="$2" ;;
  *) echo "usage: $0 PATH_TO_QUORVANE [pcmanfm|xfdesktop]"; exit 2 ;;
esac
# shellcheck disable=SC2086
e2e_prepare "$1" $hosts xfconf-query import compare convert
e2e_desktop_host_prepare

prepare_home() {
  rm -rf "$HOME"
  root="$HOME/QuorVane Desktops"
  mkdir -p "$HOME/Desktop" "$root/.store" "$root/Default" "$root/Sea" "$root/_Hidden Desktop" \
    "$XDG_CONFIG_HOME/pcmanfm/default" "$XDG_RUNTIME_DIR"
  echo note > "$HOME/Desktop/note.txt"
  echo sea > "$root/Sea/sea.txt"
  # Where Sea's icon sat when Sea was last left, in each host's coordinates.
  printf '{"pcmanfm/default": {"sea.txt": {"x": 900, "y": 500}}, "xfdesktop": {"sea.txt": {"x": 9, "y": 5}}}' \
    > "$root/Sea/.icon-positions.json"
  cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [
  {"name": "Default", "files": ["note.txt"]},
  {"name": "Sea", "files": ["sea.txt"]},
  {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true}}
JSON
  # No Trash, mounts or Documents icons (with gvfs present pcmanfm shows the Trash first).
  printf '[*]\nwallpaper_mode=color\ndesktop_bg=#102030\nshow_trash=0\nshow_mounts=0\nshow_documents=0\n' \
    > "$XDG_CONFIG_HOME/pcmanfm/default/desktop-items-0.conf"
  rm -f "$WORK/result"
}

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
pictures="${QUORVANE_TEST_ARTIFACTS:-$WORK}/icon-positions-$HOST"
mkdir -p "$pictures"
wait_until() { within 10 "$@"; }
host_windows() { xdotool search --onlyvisible --class "$HOST" 2>/dev/null || true; }
has_desktop_window() {
  local w
  for w in $(host_windows); do window_property "$w" _NET_WM_WINDOW_TYPE | grep -q DESKTOP && return 0; done
  return 1
}
# The host's entry for a name on the Desktop, as "X Y" in its own coordinates (empty: none).
if [ "$HOST" = pcmanfm ]; then
  store() { echo "$XDG_CONFIG_HOME/pcmanfm/default/desktop-items-0.conf"; }
  entry() {
    awk -v g="[$1]" '$0 == g {on=1; next} /^\[/ {on=0} on && /^x=/ {x=substr($0,3)} on && /^y=/ {y=substr($0,3)}
                     END {if (x != "" && y != "") print x, y}' "$(store)"
  }
else
  store() { readlink -f "$XDG_CONFIG_HOME/xfce4/desktop/icons.screen.latest.rc"; }
  entry() {
    awk -v g="[$HOME/Desktop/$1]" '$0 == g {on=1; next} /^\[/ {on=0} on && /^col=/ {x=substr($0,5)} on && /^row=/ {y=substr($0,5)}
                     END {if (x != "" && y != "") print x, y}' "$(store)" 2>/dev/null
  }
fi
# A picture of the screen, and how many pixels of the 160x160 square around the middle two
# pictures differ in.
shot() { xdotool mousemove 1200 780; sleep 1; import -window root "$pictures/$1.png"; }
middle() { convert "$pictures/$1.png" -crop 160x160+560+320 +repage "$pictures/$1-middle.png"; }
differ() { middle "$1"; middle "$2"; compare -metric AE "$pictures/$1-middle.png" "$pictures/$2-middle.png" null: 2>&1 | cut -d' ' -f1 || true; }

start_desktop_session
if [ "$HOST" = pcmanfm ]; then
  pcmanfm --desktop >/dev/null 2>&1 &
else
  "$XFCONFD" >/dev/null 2>&1 &
  wait_until xfconf-query -c xsettings -l >/dev/null 2>&1 || true
  for icon in filesystem home trash removable; do
    xfconf-query -c xfce4-desktop -p /desktop-icons/file-icons/show-$icon -n -t bool -s false
  done
  xfdesktop >/dev/null 2>&1 &
fi
wait_until has_desktop_window || fail "$HOST's desktop window never showed"
# xfdesktop writes where it laid every icon out once it has; pcmanfm only after a move.
laid_out() { [ "$HOST" = pcmanfm ] || [ -n "$(entry note.txt)" ]; }
wait_until laid_out || fail "$HOST never laid the icon out"
sleep 1
shot bare-left

# The icon lies alone in the top left corner: dragged into the middle of the screen. The host
# takes the drag only once it draws the icon, which a busy machine delays past the layout it
# wrote: the user's drag is made again then (the application is not running yet).
drag_note() {
  xdotool mousemove 60 45 sleep 0.2 mousedown 1 sleep 0.3 mousemove 150 150 sleep 0.2 mousemove 500 350 sleep 0.2 \
    mousemove 640 400 sleep 0.3 mouseup 1
  xdotool mousemove 1100 700 sleep 0.2 click 1
}
moved() { [ -n "$(entry note.txt)" ] && [ "$(entry note.txt)" != "0 0" ]; }
dragged=
for _ in 1 2 3; do
  drag_note
  if within 5 moved; then dragged=1; break; fi
done
[ -n "$dragged" ] || fail "$HOST kept no position for the dragged icon: $(cat "$(store)")"
dragged="$(entry note.txt)"
shot dragged
[ "$(differ dragged bare-left)" -gt 500 ] || fail "the dragged icon is not drawn in the middle"
start_app app

# Away to Sea: the icon's entry goes with it; Sea's icon gets the place Sea kept.
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Sea"' || fail "the switch to Sea did not finish"
[ -e "$HOME/Desktop/sea.txt" ] || fail "sea.txt did not arrive"
python3 - "$root/Default/.icon-positions.json" "$HOST" "$dragged" <<'PY' || fail "Default's folder kept no entry for note.txt"
import json, sys
kept = json.load(open(sys.argv[1]))
host = "pcmanfm/default" if sys.argv[2] == "pcmanfm" else "xfdesktop"
x, y = map(int, sys.argv[3].split())
assert kept[host]["note.txt"] == {"x": x, "y": y}, kept
PY
if [ "$HOST" = pcmanfm ]; then seaAt="900 500"; else seaAt="9 5"; fi
at_sea_place() { [ "$(entry sea.txt)" = "$seaAt" ]; }
wait_until at_sea_place || fail "Sea's icon is not where Sea kept it: '$(entry sea.txt)'"
wait_until has_desktop_window || fail "$HOST's desktop did not come back"
shot sea
[ "$(differ sea dragged)" -gt 500 ] || fail "the middle of Sea's desktop still shows an icon"
echo "$HOST: the dragged icon's place went with its desktop, Sea's icon at Sea's place: ok"

# Back: the icon is where it was left.
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back to Default did not finish"
back() { [ "$(entry note.txt)" = "$dragged" ]; }
wait_until back || fail "note.txt came back at '$(entry note.txt)', it was left at '$dragged'"
wait_until has_desktop_window || fail "$HOST's desktop did not come back"
shot back
[ "$(differ back dragged)" -lt 300 ] || fail "the icon is not drawn where it was left ($(differ back dragged) pixels differ)"
grep -q '"sea.txt"' "$root/Sea/.icon-positions.json" || fail "Sea's folder lost its icon's place"
echo "$HOST: the icon back where it was left: ok"

# Under the positions file's name, what is no regular file of the application's own stays as it
# is: a link to a document is never written through, and a FIFO stops neither a switch nor the
# application's end (with the first host only: the file is the same for every host).
if [ "$HOST" != pcmanfm ]; then
  stop_app
  echo PASS > "$WORK/result"
  exit 0
fi
mkdir -p "$HOME/Documents"
printf 'chapter one\n' > "$HOME/Documents/thesis.txt"
positions="$root/Sea/.icon-positions.json"
rm -f "$positions"
ln -s "$HOME/Documents/thesis.txt" "$positions"
switch_to() { # $1: menu row, $2: desktop, $3: a file of it that must arrive
  wait_until has_desktop_window || fail "$HOST's desktop did not come back"
  choose_from_menu "$1"
  wait_for "c[\"activeWorkspace\"] == \"$2\"" || fail "the switch to $2 did not finish past $(stat -c %F "$positions")"
  wait_until test -e "$HOME/Desktop/$3" || fail "$3 did not arrive past $(stat -c %F "$positions")"
}
switch_to 2 Sea sea.txt
switch_to 1 Default note.txt
[ "$(cat "$HOME/Documents/thesis.txt")" = "chapter one" ] || fail "the document behind the link was written: $(cat "$HOME/Documents/thesis.txt")"
[ -L "$positions" ] || fail "the link in Sea's folder was replaced"
echo "$HOST: a positions file linked to a document left the document untouched: ok"
rm "$positions"
mkfifo "$positions"
switch_to 2 Sea sea.txt
switch_to 1 Default note.txt
[ -p "$positions" ] || fail "the FIFO in Sea's folder was replaced"
kill -TERM $pid
ended() { process_gone $pid; }
wait_until ended || fail "SIGTERM did not end the application"
wait $pid || fail "the application did not quit cleanly"
echo "$HOST: a FIFO as the positions file stopped neither the switches nor SIGTERM: ok"
echo PASS > "$WORK/result"
SESSION

for HOST in $hosts; do
  export HOST
  prepare_home
  e2e_run_session_on_bus "$WORK/session.sh"
done
