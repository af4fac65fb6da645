#!/usr/bin/env bash
# The glyph's contrast on Plasma's and Cinnamon's panels, as the application offers it there: on
# Xvfb with a session bus, a private HOME and XDG folders, the application is started as on each
# desktop (XDG_CURRENT_DESKTOP, Plasma's colour scheme in kdeglobals, Cinnamon's theme in
# GSettings), registers its StatusNotifier item with a stand-in watcher, and the pixmap it exports
# is read back from the bus and laid over the panel's colour (panel_glyph_contrast.py). Each
# desktop twice: with its settings alone, and with a panel window of the panel's colour (a
# window of the dock type, as those panels are), whose pixels the application reads; Plasma a
# third time after its panel comes back dark and the item registers again. Prints the figures;
# asserts nothing. What it does not see: the real panels' own drawing of the pixmap (their
# scaling, their effects) and their real colours, which are the ones given here.
# Usage: panel_glyph_contrast.sh PATH_TO_QUORVANE
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../Tests/EndToEnd/session_lib.sh"
e2e_prepare "$1" xlogo xprop gsettings glib-compile-schemas
export GSETTINGS_BACKEND=keyfile MEASURE="$here/panel_glyph_contrast.py"
export STATUS_HOST="$here/../Tests/EndToEnd/status_host.py"
# Cinnamon's theme key, which this machine's packages may not carry.
mkdir -p "$WORK/schemas"
cat > "$WORK/schemas/org.cinnamon.theme.gschema.xml" <<'XML'
<schemalist>
  <schema id="org.cinnamon.theme" path="/org/cinnamon/theme/">
    <key name="name" type="s"><default>'cinnamon'</default></key>
  </schema>
</schemalist>
XML
glib-compile-schemas "$WORK/schemas"
export GSETTINGS_SCHEMA_DIR="$WORK/schemas"
mkdir -p "$XDG_CONFIG_HOME"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
# $1 desktop, $2 panel colour, $3 "dock" for a panel window; the figures go to $WORK/figures.
panel_up() { # $1 colour
  xlogo -geometry 1280x30+0+0 -bg "$1" -fg "$1" >/dev/null 2>&1 &
  panel=$!
  within 10 xprop -name xlogo WM_NAME >/dev/null 2>&1 || fail "the panel window never appeared"
  xprop -name xlogo -f _NET_WM_WINDOW_TYPE 32a -set _NET_WM_WINDOW_TYPE _NET_WM_WINDOW_TYPE_DOCK
}
watcher_up() { # $1 file for the items' names
  /usr/bin/python3 "$STATUS_HOST" serve "$1" &
  watcher=$!
}
measure() { # $1 label, $2 items file, $3 colour
  registered() { [ -s "$1" ]; }
  within 30 registered "$2" || fail "$1: the item never registered"
  sleep 4 # the shade is read again 0.5, 1.5 and 3 s after the item docks
  echo "$1: $(/usr/bin/python3 "$MEASURE" "$(tail -n1 "$2")" "$3")" >> "$WORK/figures"
}
desktop="$1" colour="$2" dock="${3:-}"
xsetroot -solid '#808080'
[ "$dock" = dock ] && panel_up "$colour"
watcher_up "$WORK/items-1"
XDG_CURRENT_DESKTOP="$desktop" "$APP" > "$WORK/app.log" 2>&1 &
pid=$!
label="$desktop, panel $colour, ${dock:-settings alone}"
measure "$label" "$WORK/items-1" "$colour"
if [ "$desktop" = KDE ] && [ "$dock" = dock ] && [ "$colour" = "#e8ecf1" ]; then
  # The panel restarts dark (Breeze Dark) while the application runs.
  printf '[General]\nColorScheme=BreezeDark\n' > "$XDG_CONFIG_HOME/kdeglobals"
  kill "$watcher" "$panel"
  wait "$watcher" "$panel" 2>/dev/null || true
  panel_up '#31363b'
  watcher_up "$WORK/items-2"
  measure "KDE, the panel back as #31363b, the item registered again" "$WORK/items-2" '#31363b'
fi
stop_app
echo PASS > "$WORK/result"
SESSION

: > "$WORK/figures"
run() { # desktop colour [dock]
  rm -f "$WORK/result" "$WORK"/items-*
  printf '[General]\nColorScheme=BreezeLight\n' > "$XDG_CONFIG_HOME/kdeglobals"
  chmod +x "$WORK/session.sh"
  "$E2E_DISPLAY" --screen 1280x800x24 "$WORK/session.sh" "$@" >/dev/null 2>&1 || true
  grep -q PASS "$WORK/result" 2>/dev/null || echo "$1 $2 ${3:-}: the session did not finish" >> "$WORK/figures"
}
# Plasma 5.27's Breeze Light panel; Cinnamon 5.6's own theme, its panel #555555.
run KDE '#e8ecf1'
run KDE '#e8ecf1' dock
run X-Cinnamon '#555555'
run X-Cinnamon '#555555' dock
# A control: the panel's pixels against its settings (light scheme, dark panel), which the
# pixels win; a glyph that only followed the settings would read 1.37:1 here.
run KDE '#31363b' dock
cat "$WORK/figures"
