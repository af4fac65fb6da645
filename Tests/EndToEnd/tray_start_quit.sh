#!/usr/bin/env bash
# Starts the application on a real X display (Xvfb) with a window manager and, 2 s after it has
# found no status area, a tray host: the icon docks in the tray that came late and no notice that
# there is no status area is left. The application's own look is Dark whatever the tray's: trayer's
# stays light, lxpanel's system tray sits on its dark grey panel. The glyph's contrast against the
# pixels around it is measured in a picture, printed and held to 3:1 at least. With a StatusNotifier
# watcher instead (status_host.py), the item registers with the watcher that came late, and the menu
# it exports is read as a status area reads it. Then it asks the application to quit and checks that
# it did so cleanly.
# Usage: tray_start_quit.sh PATH_TO_QUORVANE PATH_TO_QUORVANE_WINDOW_GRAB [trayer|lxpanel|watcher]
set -euo pipefail
app="$1"
grab="$2"
host="${3:-trayer}"
lib="$(cd "${BASH_SOURCE[0]%/*}" && pwd)/session_lib.sh"
for tool in Xvfb dbus-run-session dbus-monitor openbox "${host/watcher/python3}" xwininfo import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_STATE_HOME="$work/home/.local/state" XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# libdbus keeps a buffer for the life of the process; a sanitizer build would count it.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
artifacts="${QUORVANE_TEST_ARTIFACTS:-$work/artifacts}"
mkdir -p "$artifacts"
# The application's own look is Dark; the tray's is not.
root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/_Hidden Desktop"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [{"name": "Default"}, {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true, "appearance": {"mode": "dark"}}}
JSON
# lxpanel's own look, its system tray alone on the panel.
mkdir -p "$XDG_CONFIG_HOME/lxpanel/quorvane/panels"
sed -n '/^Global {/,/^}/p' /etc/xdg/lxpanel/default/panels/panel 2>/dev/null | sed 's/edge=bottom/edge=top/' \
  > "$XDG_CONFIG_HOME/lxpanel/quorvane/panels/panel" || true
printf 'Plugin {\n  type=space\n  expand=1\n}\nPlugin {\n  type=tray\n}\n' >> "$XDG_CONFIG_HOME/lxpanel/quorvane/panels/panel"
status_host="${lib%/*}/status_host.py"
if [ "$host" = lxpanel ]; then
  start_host='lxpanel --profile quorvane'
  panel_window='"lxpanel"'
elif [ "$host" = watcher ]; then
  start_host="/usr/bin/python3 $status_host serve $work/items"
  panel_window=none
else
  start_host='trayer --edge top --align right --widthtype request --height 24'
  panel_window='"panel"'
fi

cat > "$work/session.sh" <<SESSION
#!/usr/bin/env bash
set -u
source "$lib"
openbox >/dev/null 2>&1 &
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications'" > "$work/notify.log" 2>&1 &
"$app" > "$work/app.log" 2>&1 &
pid=\$!
# The application has found no status area and waits for one before the tray host starts.
waiting_or_ended() { grep -q 'no status area yet' "$work/app.log" || ! kill -0 \$pid 2>/dev/null; }
within 30 waiting_or_ended
# Time passes on purpose: the panel starts late, as at login, 2 s after the application looked.
sleep 2
$start_host >/dev/null 2>&1 &
docked=no
if [ $host = watcher ]; then
  registered_or_ended() { [ -s "$work/items" ] || ! kill -0 \$pid 2>/dev/null; }
  within 30 registered_or_ended
  [ -s "$work/items" ] && docked=yes
  echo "docked=\$docked" > "$work/result"
  /usr/bin/python3 "$status_host" layout "\$(head -n1 "$work/items")" > "$artifacts/watcher-menu.txt"
  echo "contrast=0" >> "$work/result"
else
  # The icon's own window, embedded in the tray host's panel (the line gives its place on screen).
  icon_line() { xwininfo -root -tree 2>/dev/null | grep -A40 '$panel_window' | grep '("quorvane"'; }
  docked_or_ended() { icon_line >/dev/null || ! kill -0 \$pid 2>/dev/null; }
  within 30 docked_or_ended
  icon_line >/dev/null && docked=yes
  echo "docked=\$docked" > "$work/result"
  if [ \$docked = yes ]; then
    read -r size place <<<"\$(icon_line | head -n1 | sed -E 's/.* ([0-9]+x[0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1 \2+\3/')"
    echo "icon=\$size+\$place" >> "$work/result"
    # The glyph is drawn once its panel's pixels have been read: measured until it stands out, or
    # the last measure is the verdict.
    measure() {
      import -window root "$artifacts/$host-glyph.png" 2>/dev/null || return 1
      local w=\${size%x*} h=\${size#*x} x=\${place%+*} y=\${place#*+}
      ratio="\$("$grab" --contrast "$artifacts/$host-glyph.png" \$((x - 3)) \$((y - 1)) \$((w + 6)) \$((h + 2)))"
      python3 -c "import sys; sys.exit(0 if float('\$ratio') >= 3 else 1)"
    }
    within 5 measure
    echo "contrast=\$ratio" >> "$work/result"
  fi
fi
kill -TERM \$pid 2>/dev/null
wait \$pid
echo "exit=\$?" >> "$work/result"
SESSION
chmod +x "$work/session.sh"
"${BASH_SOURCE[0]%/*}/../Support/own_display.sh" --screen 1280x800x24 "$work/session.sh"

cat "$work/result"
echo "--- application log"; cat "$work/app.log"
grep -q '^docked=yes$' "$work/result" || { echo "FAIL: the icon never reached the tray that started late"; exit 1; }
if [ "$host" = watcher ]; then
  cat "$artifacts/watcher-menu.txt"
  grep -qx 'Quit|application-exit||' "$artifacts/watcher-menu.txt" || { echo "FAIL: the exported menu has no Quit with its icon name"; exit 1; }
else
  ratio="$(sed -n 's/^contrast=//p' "$work/result")"
  echo "the glyph in $host's tray under the application's Dark look: contrast $ratio:1"
  python3 -c "import sys; sys.exit(0 if float('${ratio:-0}') >= 3 else 1)" || { echo "FAIL: the glyph reads at ${ratio:-no}:1 on the tray, under 3:1"; exit 1; }
fi
# The tray came well within the notice's grace: nothing may have told the user there is no status area.
grep -q 'no status area' "$work/notify.log" && { echo "FAIL: the user was told there is no status area"; exit 1; }
grep -q '^exit=0$' "$work/result" || { echo "FAIL: the application did not quit cleanly"; exit 1; }
grep -q 'status item shown' "$work/app.log" || { echo "FAIL: the status item was not shown"; exit 1; }
grep -q 'quit' "$work/app.log" || { echo "FAIL: no quit line in the log"; exit 1; }
echo "PASS"
