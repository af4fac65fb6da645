# An XFCE 4.18 session for the end-to-end tests: xfconfd, xfsettingsd, xfwm4 with four
# workspaces, xfce4-panel with its status tray (a StatusNotifier host) on a dark panel,
# xfdesktop and xfce4-notifyd, all in the test's temporary home. Source it twice, as
# session_lib.sh: once in the test script (xfce_prepare, xfce_run_session) and once inside the
# session script (through $XFCE_LIB), which uses the helpers below xfce_run_session. Its limits
# are an idle machine's, stretched by within (Support/wait_lib.sh) as far as the load asks.
source "${BASH_SOURCE[0]%/*}/../Support/wait_lib.sh"
source "${BASH_SOURCE[0]%/*}/json_lib.sh"

xfce_libexec() { # the path of an XFCE helper that is not on PATH
  local dir
  for dir in /usr/lib/*/xfce4 /usr/lib/xfce4 /usr/libexec/xfce4; do
    [ -x "$dir/$1" ] && { echo "$dir/$1"; return 0; }
  done
  return 1
}

# xfce_prepare APP: skips (77) without the XFCE session's programs; makes $WORK with an
# installed layout and points HOME and the XDG folders into it, before any bus is started.
# Exports WORK, APP, XFCE_LIB and where the XFCE helpers are.
xfce_prepare() {
  local tool
  for tool in Xvfb dbus-run-session xfwm4 xfce4-panel xfdesktop xfsettingsd xfconf-query xdotool xwininfo \
    dbus-send dbus-monitor convert import compare python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
  XFCONFD="$(xfce_libexec xfconf/xfconfd)" || { echo "SKIP: xfconfd is not installed"; exit 77; }
  NOTIFYD="$(xfce_libexec notifyd/xfce4-notifyd)" || { echo "SKIP: xfce4-notifyd is not installed"; exit 77; }
  WORK="$(mktemp -d)"
  trap 'rm -rf "$WORK"' EXIT
  mkdir -p "$WORK/prefix/bin" "$WORK/prefix/share/applications"
  cp "$1" "$WORK/prefix/bin/quorvane"
  printf '[Desktop Entry]\nType=Application\nName=Quorvane\nExec=quorvane\n' \
    > "$WORK/prefix/share/applications/app.quorvane.Quorvane.desktop"
  export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
  export XDG_STATE_HOME="$WORK/home/.local/state" XDG_CACHE_HOME="$WORK/home/.cache" XDG_RUNTIME_DIR="$WORK/runtime"
  export XDG_CURRENT_DESKTOP=XFCE XDG_SESSION_DESKTOP=xfce DESKTOP_SESSION=xfce
  unset XDG_CONFIG_DIRS QT_QPA_PLATFORM SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
  mkdir -p "$HOME/Desktop" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
  export QUORVANE_TEST_ARTIFACTS="${QUORVANE_TEST_ARTIFACTS:-$WORK/artifacts}"
  mkdir -p "$QUORVANE_TEST_ARTIFACTS"
  xfce_seed_config
  export WORK APP="$WORK/prefix/bin/quorvane" XFCE_LIB="${BASH_SOURCE[0]}" XFCONFD NOTIFYD
}

# The channels the session reads, written before it starts: one dark panel along the top with
# the status tray (so the panel never asks its first-start question), four workspaces.
xfce_seed_config() {
  local xml="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
  mkdir -p "$xml"
  cat > "$xml/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="dark-mode" type="bool" value="true"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="30"/>
      <property name="icon-size" type="uint" value="22"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="separator">
      <property name="expand" type="bool" value="true"/>
      <property name="style" type="uint" value="0"/>
    </property>
    <property name="plugin-2" type="string" value="systray">
      <property name="square-icons" type="bool" value="true"/>
    </property>
  </property>
</channel>
XML
  cat > "$xml/xfwm4.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfwm4" version="1.0">
  <property name="general" type="empty">
    <property name="workspace_count" type="int" value="4"/>
    <property name="use_compositing" type="bool" value="false"/>
  </property>
</channel>
XML
  cat > "$xml/xsettings.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xsettings" version="1.0">
  <property name="Net" type="empty">
    <property name="ThemeName" type="string" value="Adwaita"/>
    <property name="IconThemeName" type="string" value="Adwaita"/>
  </property>
</channel>
XML
}

# xfce_run_session SCRIPT: runs the session script on a display of its own with a session bus
# started inside it; the script writes PASS into $WORK/result when every check held.
xfce_run_session() {
  chmod +x "$1"
  local status=0
  "$(cd "${BASH_SOURCE[0]%/*}/../Support" && pwd)/own_display.sh" --screen 1280x800x24 "$1" || status=$?
  grep -q PASS "$WORK/result" 2>/dev/null || { echo "FAIL (session status $status)"; exit 1; }
  echo "PASS"
}

# Inside the session.
root="$HOME/QuorVane Desktops"
config="$root/.store/config.json"
pid=
fail() {
  echo "FAIL: $*"
  import -window root "$QUORVANE_TEST_ARTIFACTS/xfce-failure.png" 2>/dev/null || true
  echo "--- application log"; cat "$WORK"/app*.log 2>/dev/null
  [ -s "$WORK/xfdesktop.log" ] && { echo "--- xfdesktop"; tail -n 40 "$WORK/xfdesktop.log"; }
  exit 1
}
# A folder's entries, without the hidden list and the icon positions a desktop keeps there.
listing() { (cd "$1" && ls -1A | { grep -vxF -e '.hidden' -e '.icon-positions.json' || true; } | tr '\n' '|'); }
config_holds() { [ -f "$config" ] && json_ask "$1" 2>/dev/null && [ "$JSON_OUT" = True ]; }
wait_for() { within 10 config_holds "$1"; } # $1: python expression on c that must become true
has_owner() { # $1: a bus name
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:"$1" 2>/dev/null | grep -q 'boolean true'
}
wait_owner() { within 10 has_owner "$1"; }

# The whole session, each part waited for.
start_xfce_session() {
  "$XFCONFD" >/dev/null 2>&1 &
  wait_owner org.xfce.Xfconf || fail "xfconfd never came up"
  xfsettingsd --no-daemon >/dev/null 2>&1 &
  xfwm4 --compositor=off >/dev/null 2>&1 &
  four_workspaces() { [ "$(xdotool get_num_desktops 2>/dev/null)" = 4 ]; }
  within 10 four_workspaces || fail "xfwm4 did not give four workspaces"
  xfce4-panel >/dev/null 2>&1 &
  wait_owner org.kde.StatusNotifierWatcher || fail "the panel's status tray never took the watcher's name"
  # What it says, and the signal it may end by, are printed by fail().
  (xfdesktop || echo "xfdesktop ended with status $?") >"$WORK/xfdesktop.log" 2>&1 &
  "$NOTIFYD" >/dev/null 2>&1 &
  wait_owner org.freedesktop.Notifications || fail "xfce4-notifyd never came up"
  within 10 xdotool search --class xfdesktop >/dev/null 2>&1 || true
}

# "X Y": the middle of the glyph in the panel (the seeded panel: the screen's top 30 rows),
# found on a picture of it as the pixels far from the panel's own colour; fails when none are.
panel_size=30
glyph_centre() {
  local width
  width="$(xwininfo -root | awk '/Width:/ {print $2}')"
  import -window root ppm:- 2>/dev/null | convert - -crop "${width}x${panel_size}+0+0" +repage -depth 8 ppm:"$WORK/panel.ppm" || return 1
  python3 - "$WORK/panel.ppm" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
parts = data.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
px = parts[4][: w * h * 3]
bg = px[0:3]  # the panel's corner
xs, ys = [], []
for i in range(w * h):
    p = px[3 * i: 3 * i + 3]
    if sum(abs(p[k] - bg[k]) for k in range(3)) > 200:
        xs.append(i % w); ys.append(i // w)
if not xs:
    sys.exit(1)
print((min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2)
PY
}

# The lightness (0-255) of the panel's top-left pixel.
panel_corner_lightness() {
  import -window root ppm:- 2>/dev/null | convert - -crop 1x1+2+2 -colorspace Gray -depth 8 -format '%[fx:int(255*p{0,0}.r)]' info:
}

start_app() { # $1: log name; waits until the glyph is drawn in the panel
  "$APP" > "$WORK/$1.log" 2>&1 &
  pid=$!
  glyph_shown_or_ended() { ! kill -0 $pid 2>/dev/null || glyph_centre >/dev/null 2>&1; }
  within 20 glyph_shown_or_ended || fail "the glyph never showed in the panel"
  kill -0 $pid 2>/dev/null || fail "the application ended early"
}
stop_app() {
  kill -TERM $pid
  wait $pid || fail "the application did not quit cleanly"
}
