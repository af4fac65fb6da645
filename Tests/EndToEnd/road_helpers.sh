# Shared by the end-to-end scripts; sourced, never run. Two halves:
#   outside the X session: road_require, road_install, road_run_session;
#   inside it (the session script sources this file again through $ROAD_HELPERS):
#   fail, listing, json, wait_for, road_desktop, start_app, stop_app, tray_icon_centre,
#   choose_from_menu, viewable_windows, window_property.

ROAD_HELPERS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/road_helpers.sh"
export ROAD_HELPERS

# Skips the test (exit 77) unless every tool named is installed.
road_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

# Installs the application ($1) into a temporary prefix, with its desktop entry (which gives
# it its identifier, needed by the single-instance hand-over), and points HOME and the XDG
# folders into the same temporary folder. Sets and exports WORK and APP; the caller removes
# $WORK (trap).
road_install() {
  WORK="$(mktemp -d)"
  mkdir -p "$WORK/prefix/bin" "$WORK/prefix/share/applications"
  cp "$1" "$WORK/prefix/bin/quorvane"
  printf '[Desktop Entry]\nType=Application\nName=Quorvane\nExec=quorvane\n' \
    > "$WORK/prefix/share/applications/app.quorvane.Quorvane.desktop"
  export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
  export XDG_STATE_HOME="$WORK/home/.local/state" XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -p "$HOME/Desktop" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
  export WORK APP="$WORK/prefix/bin/quorvane"
}

# Runs the session script ($1) on a private Xvfb display; the script writes PASS to
# $WORK/result when every check held.
road_run_session() {
  local status=0
  chmod +x "$1"
  xvfb-run -a -s "-screen 0 ${2:-1280x800}x24" "$1" || status=$?
  grep -q PASS "$WORK/result" 2>/dev/null || { echo "FAIL (session status $status)"; exit 1; }
  echo "PASS"
}

# --- inside the session -------------------------------------------------------------------

ROOT="$HOME/QuorVane Desktops"
CONFIG="$ROOT/.store/config.json"
JOURNAL="$ROOT/.store/journal.json"

fail() { echo "FAIL: $*"; echo "--- application log"; cat "$WORK"/app*.log 2>/dev/null; exit 1; }
listing() { (cd "$1" && ls -1A | { grep -v '^\.hidden$' || true; } | tr '\n' '|'); }
json() { python3 -c "import json,sys; c=json.load(open(sys.argv[1])); print($1)" "$CONFIG"; }
wait_for() { # $1: python expression on c that must become true
  local i
  for i in $(seq 1 100); do
    [ -f "$CONFIG" ] && [ "$(json "$1" 2>/dev/null)" = "True" ] && return 0
    sleep 0.1
  done
  return 1
}

# The window manager and the tray host.
road_desktop() {
  local i
  openbox >/dev/null 2>&1 &
  trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
  for i in $(seq 1 50); do
    xwininfo -root -tree 2>/dev/null | grep -qi 'panel' && break
    sleep 0.1
  done
}

pid=
start_app() { # $1: log name
  local i
  "$APP" > "$WORK/$1.log" 2>&1 &
  pid=$!
  for i in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -A12 '"panel"' | grep -q '("quorvane"'; then return 0; fi
    kill -0 $pid 2>/dev/null || fail "the application ended early"
    sleep 0.1
  done
  fail "the icon never reached the tray"
}
stop_app() {
  kill -TERM $pid
  wait $pid || fail "the application did not quit cleanly"
}

# "X Y": the middle of the tray icon, in root coordinates.
tray_icon_centre() {
  local line
  line="$(xwininfo -root -tree | grep -A12 '"panel"' | grep '("quorvane"' | head -n1)"
  # "... 22x22+1+1  +1259+1" : size, then the absolute position.
  echo "$line" | sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\3 \4 \1 \2/' \
    | awk '{print $1 + int($3/2), $2 + int($4/2)}'
}

# Opens the status menu with a click on the tray icon and picks the n-th item by keyboard.
choose_from_menu() {
  local x y i
  read -r x y <<<"$(tray_icon_centre)"
  xdotool mousemove "$x" "$y" click 1
  # Give the menu time to open on a loaded machine before the keys arrive.
  sleep 1.5
  for i in $(seq 1 "$1"); do xdotool key Down; sleep 0.1; done
  xdotool key Return
}

# The ids of the viewable windows titled exactly $1, one a line.
viewable_windows() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\"" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
  done
  return 0
}
# The value part of xprop's line for property $2 of window $1.
window_property() { xprop -id "$1" "$2" 2>/dev/null | sed -E 's/^[^=]*= ?//'; }
