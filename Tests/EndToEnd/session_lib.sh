# Shared by the end-to-end tests that drive the real application on an Xvfb display with a
# window manager and a tray host. Source it twice: once in the test script, which calls
# e2e_prepare and e2e_run_session, and once inside the session script (through $E2E_LIB),
# which uses the helpers below e2e_run_session. Every limit below is an idle machine's, stretched
# by within (Support/wait_lib.sh) as far as the machine's load asks.
# (E2E_WAIT_LIB and E2E_JSON_LIB name them for a session that reads a copy of this file from
# elsewhere.)
source "${E2E_WAIT_LIB:-${BASH_SOURCE[0]%/*}/../Support/wait_lib.sh}"
source "${E2E_JSON_LIB:-${BASH_SOURCE[0]%/*}/json_lib.sh}"

# e2e_prepare APP TOOL...: skips (77) without a tool; makes $WORK with an installed layout (the
# executable in bin beside its desktop entry, which gives the application its identifier) and
# points HOME and the XDG folders into it. Exports WORK, APP and E2E_LIB.
e2e_prepare() {
  local app="$1"
  shift
  # The system's own tools first (see own_display.sh).
  PATH="/usr/bin:/bin:$PATH"
  local tool
  for tool in Xvfb dbus-run-session openbox trayer xwininfo xdotool python3 "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
  WORK="$(mktemp -d)"
  trap 'rm -rf "$WORK"' EXIT
  mkdir -p "$WORK/prefix/bin" "$WORK/prefix/share/applications"
  cp "$app" "$WORK/prefix/bin/quorvane"
  printf '[Desktop Entry]\nType=Application\nName=Quorvane\nExec=quorvane\n' \
    > "$WORK/prefix/share/applications/app.quorvane.Quorvane.desktop"
  export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
  export XDG_STATE_HOME="$WORK/home/.local/state" XDG_CACHE_HOME="$WORK/home/.cache" XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -p "$HOME/Desktop" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
  export WORK APP="$WORK/prefix/bin/quorvane" E2E_LIB="${BASH_SOURCE[0]}"
  # Built beside the application: what the waits ask of the display.
  export XPROBE="$(cd "${app%/*}" && pwd)/quorvane-x-probe"
  [ -x "$XPROBE" ] || { echo "FAIL: no $XPROBE (the tests' programs are built with the application)"; exit 1; }
  E2E_DISPLAY="$(cd "${BASH_SOURCE[0]%/*}/../Support" && pwd)/own_display.sh"
  export E2E_WAIT_LIB="${E2E_DISPLAY%/*}/wait_lib.sh" E2E_JSON_LIB="${E2E_LIB%/*}/json_lib.sh"
}

# e2e_desktop_host_prepare: for sessions with a desktop host (pcmanfm's desktop, xfdesktop) and
# the XFCE settings daemon; skips (77) without xfconfd. Exports XFCONFD and an XFCE session
# with its cache in the temporary home.
e2e_desktop_host_prepare() {
  XFCONFD=
  local candidate
  for candidate in /usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd /usr/lib/xfce4/xfconf/xfconfd \
                   /usr/libexec/xfce4/xfconf/xfconfd; do
    [ -x "$candidate" ] && { XFCONFD="$candidate"; break; }
  done
  [ -n "$XFCONFD" ] || { echo "SKIP: no xfconfd"; exit 77; }
  export XFCONFD XDG_CURRENT_DESKTOP=XFCE XDG_CACHE_HOME="$HOME/.cache"
}

# e2e_run_session SCRIPT: runs the session script on a display and a session bus of its own
# (started inside the display, so that services the bus starts, a notification server, find
# it), 1280x800 or the size E2E_SCREEN names (WIDTHxHEIGHTxDEPTH); the script writes PASS into
# $WORK/result when every check held.
e2e_run_session() {
  chmod +x "$1"
  local status=0
  "$E2E_DISPLAY" --screen "${E2E_SCREEN:-1280x800x24}" "$1" || status=$?
  grep -q PASS "$WORK/result" 2>/dev/null || { echo "FAIL (session status $status)"; exit 1; }
  echo "PASS"
}
# The same: every session has a bus of its own.
e2e_run_session_on_bus() { e2e_run_session "$@"; }

# Inside the session.
root="$HOME/QuorVane Desktops"
config="$root/.store/config.json"
journal="$root/.store/journal.json"
pid=
fail() { _failed=1; echo "FAIL: $*"; echo "--- application log"; cat "$WORK"/*.log; exit 1; }
# A command outside a check that fails ends the session (set -e) without a word: it is named.
trap '_status=$?; [ "$_status" = 0 ] || [ -n "${_failed:-}" ] || fail "the session ended (status $_status) at: $BASH_COMMAND"' EXIT
# A folder's entries, without the hidden list and the icon positions a desktop keeps there.
# Read by the shell itself, sorted as ls sorts (the locale's collation), "a|b|".
listing() {
  [ -d "$1" ] && [ -x "$1" ] || return 1
  local dotglob=-u nullglob=-u entry out=
  shopt -q dotglob && dotglob=-s
  shopt -q nullglob && nullglob=-s
  shopt -s dotglob nullglob
  local entries=("$1"/*)
  shopt "$dotglob" dotglob
  shopt "$nullglob" nullglob
  for entry in "${entries[@]}"; do
    entry="${entry##*/}"
    [ "$entry" = .hidden ] || [ "$entry" = .icon-positions.json ] || out+="$entry|"
  done
  printf '%s' "$out"
}

# Whether selection $1 has an owner on the display.
selection_owned() { "$XPROBE" selection-owned "$1"; }
# Whether a tray host owns the display's tray selection (what the application looks for, once,
# as it starts).
tray_selection_owned() { selection_owned _NET_SYSTEM_TRAY_S0; }
# The window manager and the tray host, waited for (a loaded machine may take seconds). With $1,
# the window manager first gets four workspaces and shows workspace $1 (0-based); the tray host
# then starts on that one.
wm_workspaces_known() { "$XPROBE" root-properties _NET_NUMBER_OF_DESKTOPS _NET_CURRENT_DESKTOP 2>/dev/null; }
workspace_shown() { [ "$(xdotool get_desktop 2>/dev/null)" = "$1" ]; }
start_desktop_session() {
  openbox >/dev/null 2>&1 &
  # The application looks for the window manager's workspaces once, as it starts.
  within 20 wm_workspaces_known || fail "the window manager did not announce its workspaces"
  if [ -n "${1:-}" ]; then
    wmctrl -n 4
    xdotool set_desktop "$1"
    within 20 workspace_shown "$1" || fail "the window manager did not show workspace $1"
  fi
  trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
  within 30 tray_selection_owned || fail "the tray host did not take the tray selection"
}
start_app() { # $1: log name
  "$APP" > "$WORK/$1.log" 2>&1 &
  pid=$!
  # Until the icon is in the tray, or the application has ended, looked at by one program. A
  # sanitizer build on a loaded machine may take many seconds to start.
  _slowness
  "$XPROBE" tray-icon-or-ended $((30 * SLOWNESS)) $pid 2>/dev/null || fail "the icon never reached the tray"
  kill -0 $pid 2>/dev/null || fail "the application ended early"
}
process_ended() { process_gone "$1"; }
stop_app() {
  kill -TERM $pid 2>/dev/null || fail "the application had ended before it was asked to quit"
  wait $pid || fail "the application did not quit cleanly"
}
config_holds() { [ -f "$config" ] && json_ask "$1" 2>/dev/null && [ "$JSON_OUT" = True ]; }
# As config_holds, asked only when the document has changed since the last look: a look at the
# file's inode and time costs next to nothing, a decoded document more.
config_changed_and_holds() {
  [ -f "$config" ] || return 1
  json_ask_if_changed "$config_seen" "$1" 2>/dev/null && config_seen="$JSON_STAMP" && [ "$JSON_OUT" = True ] && return 0
  config_seen="${JSON_STAMP:-$config_seen}"
  return 1
}
wait_for() { config_seen=; within 10 config_changed_and_holds "$1"; } # $1: python expression on c that must become true
# The application's viewable top-level windows, one id a line.
app_viewable_windows() { "$XPROBE" app-windows 2>/dev/null || true; }
# Clicks the tray icon and waits until the status menu maps (a window of the application's
# that was not viewable before the click), so that the keys that follow reach it.
new_app_window() {
  local id
  for id in $(app_viewable_windows); do
    [[ " $1 " == *" $id "* ]] || return 0
  done
  return 1
}
open_status_menu() {
  local before
  wait_tray_icon_settled
  before="$(app_viewable_windows)"
  before="${before//$'\n'/ }"
  xdotool mousemove $(tray_icon_centre) click 1
  within 5 new_app_window "$before" || fail "the status menu did not open"
  # The menu takes the keyboard as it maps.
  pause 0.2
}
# Key $1 $2 times, then Return, a tenth of a second apart, from one program.
menu_keys() {
  local keys=() i
  for ((i = 0; i < $2; i++)); do keys+=("$1"); done
  xdotool key --delay 100 "${keys[@]}" Return
}
# Opens the status menu with a click on the tray icon and picks the n-th item by keyboard.
choose_from_menu() {
  open_status_menu
  menu_keys Down "$1"
}
# The id of the visible window of that exact name, once it maps within $2 tenths of a second.
visible_window_named() {
  local ids
  ids="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)"
  printf '%s' "${ids%%$'\n'*}"
}
wait_window() { within_for "$(_tenths "${2:-50}")" visible_window_named "$1"; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
# Whether window $1 is the active one, the one the keys that follow reach.
window_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
wait_window_active() { within 5 window_is_active "$1"; }
# Waits until the window is no longer viewable.
wait_unmapped() { within "$(_tenths "${2:-50}")" not is_viewable "$1"; }
not() { ! "$@"; }
_tenths() { echo "$(($1 / 10)).$(($1 % 10))"; } # tenths of a second as seconds
# "X Y": the middle of the tray icon, in root coordinates.
# The icon is reparented into the panel before the panel sizes, places and maps it: a click
# aimed then lands beside it, on the panel. So the centre is taken once the icon is viewable, of
# a real size, and at the same place on two looks in a row (a tenth of a second apart).
# tray_icon_line: "ID VIEWABLE WIDTH HEIGHT X Y".
tray_icon_line() { "$XPROBE" tray-icon 2>/dev/null; }
wait_tray_icon_settled() {
  _slowness
  "$XPROBE" tray-icon-settled $((10 * SLOWNESS)) >/dev/null \
    || fail "the tray icon did not settle in the panel: $(tray_icon_line)"
}
tray_icon_centre() {
  local id shown w h x y
  read -r id shown w h x y <<<"$(tray_icon_line)"
  echo "$((x + w / 2)) $((y + h / 2))"
}
# The ids of the viewable windows titled exactly $1, one a line.
viewable_windows() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\"" | awk '{print $1}'); do
    is_viewable "$id" && echo "$id"
  done
  return 0
}
no_viewable_window() { [ -z "$(viewable_windows "$1")" ]; } # titled exactly $1
# The value part of xprop's line for property $2 of window $1.
window_property() { xprop -id "$1" "$2" 2>/dev/null | sed -E 's/^[^=]*= ?//'; }
# Waits until the log $1 holds the text $2 at least $3 times (default once).
# Read by the shell itself: a wait looks every tenth of a second.
log_holds() {
  local line count=0
  [ -r "$WORK/$1.log" ] || return 1
  while IFS= read -r line || [ -n "$line" ]; do
    [[ "$line" == *"$2"* ]] && count=$((count + 1))
  done <"$WORK/$1.log"
  [ "$count" -ge "${3:-1}" ]
}
wait_for_log() { within 15 log_holds "$@"; }
# The application's alert windows: its top-level windows larger than the tray icon.
alert_windows() {
  xwininfo -root -tree 2>/dev/null | grep '"Quorvane": ("quorvane" "Quorvane")' \
    | awk '{ split($5, size, "x"); if (size[1] + 0 > 100) print $1 }'
}
# Waits for the application's alert and answers it with its default button. Fails when no
# alert comes or it does not close.
first_alert_window() { alert_windows | head -n1; }
no_alert_window() { [ -z "$(alert_windows)" ]; }
answer_alert() {
  local win
  win="$(within_for 10 first_alert_window)" || fail "no alert window appeared"
  xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus --sync "$win" >/dev/null 2>&1 || true
  pause 0.3
  xdotool key Return
  within 5 no_alert_window || fail "the alert did not close"
}
# As choose_from_menu, counting from the menu's end with Up: 1 is its last item.
choose_from_menu_end() {
  open_status_menu
  menu_keys Up "$1"
}
# One key (or chord) to the focused window, then time for the application to act on it.
press() { xdotool key --clearmodifiers "$@"; _nap "${PRESS_PAUSE:-0.4}"; }
# "W H" of a window.
window_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'; }
# A picture of window $1 as $ARTIFACTS/$2.png (GRAB names the grab tool).
picture() { "$GRAB" "$1" "$ARTIFACTS/$2.png" || fail "no picture of $2"; }
# How many pixels the pictures $ARTIFACTS/$1.png and $ARTIFACTS/$2.png differ in.
pixels_between() { "$GRAB" --compare "$ARTIFACTS/$1.png" "$ARTIFACTS/$2.png"; }
# A picture of window $1 as $2 once the window has stopped changing: two pictures 0.2 s apart
# alike (after 5 s on an idle machine, longer on a loaded one, the last one stands), taken by one
# program.
settled_picture() {
  _slowness
  "$GRAB" --settled "$1" "$ARTIFACTS/$2.png" $((5 * SLOWNESS)) || fail "no picture of $2"
}
# Takes settled picture $2 of window $1 until the count of pixels it differs from picture $3 in
# passes the test $4 $5 (as "-gt 2000"), 30 tries, and prints the last count: a loaded machine may
# repaint a window well after the key that changed it, and a picture taken mid-repaint is no
# section's.
picture_until() {
  local i changed
  for ((i = 0; i < 30; i++)); do
    settled_picture "$1" "$2"
    changed="$(pixels_between "$3" "$2")"
    [ "$changed" "$4" "$5" ] && break
    _nap 0.2
  done
  echo "$changed"
}
# The application's viewable windows larger than the tray icon, besides window $1 (decimal).
other_app_windows() {
  local id rest size
  xwininfo -root -tree 2>/dev/null | grep '("quorvane" "Quorvane")' | while read -r id rest; do
    size="$(echo "$rest" | grep -oE ' [0-9]+x[0-9]+\+' | head -n1 | tr -d ' +')"
    [ "${size%x*}" -gt 100 ] 2>/dev/null || continue
    [ "$((id))" = "$(($1))" ] && continue
    is_viewable "$id" && echo "$id"
  done
  return 0
}
