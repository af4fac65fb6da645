#!/usr/bin/env bash
# Starts the application on a real X display (Xvfb) with a window manager and a tray host,
# checks that its icon is docked in the tray, then asks it to quit and checks that it did so
# cleanly. Usage: tray_start_quit.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
lib="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/session_lib.sh"
for tool in Xvfb dbus-run-session openbox trayer xwininfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_STATE_HOME="$work/home/.local/state" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# libdbus keeps a buffer for the life of the process; a sanitizer build would count it.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

cat > "$work/session.sh" <<SESSION
#!/usr/bin/env bash
set -u
source "$lib"
openbox >/dev/null 2>&1 &
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
# Wait for the tray host to take the selection before the application looks for it, once, as it
# starts (a loaded machine may take seconds; the host's panel shows before it takes it).
for i in \$(seq 1 300); do
  tray_selection_owned && break
  sleep 0.1
done
"$app" > "$work/app.log" 2>&1 &
pid=\$!
docked=no
# A sanitizer build on a loaded machine may take many seconds to start.
for i in \$(seq 1 300); do
  # The icon's own window, embedded in the tray host's panel.
  if xwininfo -root -tree 2>/dev/null | grep -A12 '"panel"' | grep -q '("quorvane"'; then docked=yes; break; fi
  kill -0 \$pid 2>/dev/null || break
  sleep 0.1
done
echo "docked=\$docked" > "$work/result"
kill -TERM \$pid 2>/dev/null
wait \$pid
echo "exit=\$?" >> "$work/result"
SESSION
chmod +x "$work/session.sh"
"$(dirname "${BASH_SOURCE[0]}")/../Support/own_display.sh" --screen 1280x800x24 "$work/session.sh"

cat "$work/result"
echo "--- application log"; cat "$work/app.log"
grep -q '^docked=yes$' "$work/result" || { echo "FAIL: the icon never reached the tray"; exit 1; }
grep -q '^exit=0$' "$work/result" || { echo "FAIL: the application did not quit cleanly"; exit 1; }
grep -q 'status item shown' "$work/app.log" || { echo "FAIL: the status item was not shown"; exit 1; }
grep -q 'quit' "$work/app.log" || { echo "FAIL: no quit line in the log"; exit 1; }
echo "PASS"
