# Helpers for the end-to-end sessions that run under xvfb-run, sourced by their session scripts.
# Expects WORK (the test's scratch folder, where the application logs go) and APP (the
# installed executable) in the environment, and HOME pointing at the temporary home.
root="$HOME/QuorVane Desktops"
config="$root/.store/config.json"
journal="$root/.store/journal.json"
fail() { echo "FAIL: $*"; echo "--- application log"; cat "$WORK"/app*.log; exit 1; }
# The names in a folder (hidden ones included, the file managers' ".hidden" left out), "|"-joined.
listing() { (cd "$1" && ls -1A | { grep -v '^\.hidden$' || true; } | tr '\n' '|'); }
json() { python3 -c "import json,sys; c=json.load(open(sys.argv[1])); print($1)" "$config"; }

# A window manager and a tray host, and the wait for the tray's panel.
start_desktop_session() {
  openbox >/dev/null 2>&1 &
  trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
  for i in $(seq 1 50); do
    xwininfo -root -tree 2>/dev/null | grep -qi 'panel' && break
    sleep 0.1
  done
}

pid=
start_app() { # $1: log name
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
wait_for() { # $1: python expression on c that must become true
  for i in $(seq 1 100); do
    [ -f "$config" ] && [ "$(json "$1" 2>/dev/null)" = "True" ] && return 0
    sleep 0.1
  done
  return 1
}
wait_for_log() { # $1: log name, $2: text that must appear, $3: how many times (default 1)
  for i in $(seq 1 150); do
    [ "$(grep -cF -- "$2" "$WORK/$1.log" 2>/dev/null || true)" -ge "${3:-1}" ] && return 0
    sleep 0.1
  done
  return 1
}
# Opens the status menu with a click on the tray icon and picks the n-th item by keyboard.
choose_from_menu() {
  local line x y
  line="$(xwininfo -root -tree | grep -A12 '"panel"' | grep '("quorvane"' | head -n1)"
  # "... 22x22+1+1  +1259+1" : size, then the absolute position.
  read -r x y <<<"$(echo "$line" | sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\3 \4 \1 \2/' \
    | awk '{print $1 + int($3/2), $2 + int($4/2)}')"
  xdotool mousemove "$x" "$y" click 1
  # Give the menu time to open on a loaded machine before the keys arrive.
  sleep 1.5
  for i in $(seq 1 "$1"); do xdotool key Down; sleep 0.1; done
  xdotool key Return
}
# The application's alert windows: its top-level windows larger than the tray icon.
alert_windows() {
  xwininfo -root -tree 2>/dev/null | grep '"Quorvane": ("quorvane" "Quorvane")' \
    | awk '{ split($5, size, "x"); if (size[1] + 0 > 100) print $1 }'
}
# Waits for the application's alert and answers it with its default button. Fails when no
# alert comes or it does not close.
answer_alert() {
  local win=
  for i in $(seq 1 100); do
    win="$(alert_windows | head -n1)"
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || fail "no alert window appeared"
  xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus --sync "$win" >/dev/null 2>&1 || true
  sleep 0.3
  xdotool key Return
  for i in $(seq 1 50); do
    [ -z "$(alert_windows)" ] && return 0
    sleep 0.1
  done
  fail "the alert did not close"
}
