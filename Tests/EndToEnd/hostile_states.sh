#!/usr/bin/env bash
# Hostile states on a real X display (Xvfb) with a window manager and a tray host, run as an
# unprivileged user so that permissions hold: a Desktop holding a ".DS_Store", a folder that
# cannot be moved (mode 555) and ordinary files is switched away from the status menu and back;
# the ".DS_Store" keeps its bytes, the folder stays on the Desktop with one alert naming it per
# switch, everything else moves both ways and no journal is left. Then a second process on the
# same home, with another runtime folder, shows its alert and quits without changing a byte.
# Usage: hostile_states.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app" sha256sum
work="$WORK"
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

# Everything the application or the toolkit may write outside the desktops lies outside the
# home, so that the home can be compared byte for byte.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache"
# The display's own scratch files too, where the session's user may write them.
export TMPDIR="$work/tmp"
rm -rf "$HOME/.config" "$HOME/.local"
# The session may run as another user: it reads the helpers from the scratch folder.
cp "$E2E_LIB" "$work/session_lib.sh"
export E2E_LIB="$work/session_lib.sh"
root="$HOME/QuorVane Desktops"
mkdir -p "$HOME/Desktop/locked folder" "$root/.store" "$root/Default" "$root/Work" "$root/_Hidden Desktop" \
  "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_CACHE_HOME" "$TMPDIR" "$work/runtime2"
chmod 700 "$work/runtime2"
printf 'layout bytes \001\002\003' > "$HOME/Desktop/.DS_Store"
echo one > "$HOME/Desktop/one.txt"
echo two > "$HOME/Desktop/two.txt"
echo inside > "$HOME/Desktop/locked folder/inside.txt"
echo work > "$root/Work/work.txt"
printf 'work layout' > "$root/Work/.DS_Store"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion":1,"activeWorkspace":"Default","workspaces":[
 {"name":"Default","files":["locked folder","one.txt","two.txt"]},
 {"name":"Work","files":["work.txt"]},
 {"name":"_Hidden Desktop"}],
 "settings":{"shownFirstSwitchNote":true}}
JSON
chmod 555 "$HOME/Desktop/locked folder"

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
stayed='could not move and stayed where they were: locked folder'
# Every entry of the home with its kind, mode and size, and every file's hash.
home_hash() {
  (cd "$HOME" && find . -printf '%p %y %m %s %l\n' | LC_ALL=C sort
   find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum) | sha256sum
}
ds_hash="$(sha256sum < "$HOME/Desktop/.DS_Store")"
start_desktop_session

# 1. Away to Work: the locked folder stays with one alert, the rest moves, the layout file stays.
start_app app1
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Work"' || fail "choosing Work from the menu did not switch"
wait_for_log app1 "$stayed" || fail "no alert named the locked folder"
answer_alert
[ "$(grep -cF "$stayed" "$WORK/app1.log")" = 1 ] || fail "not exactly one alert for the switch"
wait_for_log app1 'switched Default → Work' || fail "no switched line"
[ "$(listing "$HOME/Desktop")" = ".DS_Store|locked folder|work.txt|" ] || fail "Desktop after the switch: $(listing "$HOME/Desktop")"
[ "$(listing "$root/Default")" = "one.txt|two.txt|" ] || fail "Default's folder: $(listing "$root/Default")"
[ "$(listing "$root/Work")" = ".DS_Store|" ] || fail "Work's folder: $(listing "$root/Work")"
[ "$(sha256sum < "$HOME/Desktop/.DS_Store")" = "$ds_hash" ] || fail "the Desktop's .DS_Store changed"
[ "$(cat "$root/Work/.DS_Store")" = "work layout" ] || fail "Work's .DS_Store changed"
[ ! -e "$journal" ] || fail "a journal was left"

# 2. Back to Default: the folder stays again, Work's item goes home.
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "choosing Default from the menu did not switch back"
wait_for_log app1 "$stayed" 2 || fail "no alert named the locked folder on the way back"
answer_alert
[ "$(grep -cF "$stayed" "$WORK/app1.log")" = 2 ] || fail "not exactly one alert for the switch back"
[ "$(listing "$HOME/Desktop")" = ".DS_Store|locked folder|one.txt|two.txt|" ] || fail "Desktop after switching back: $(listing "$HOME/Desktop")"
[ "$(listing "$root/Work")" = ".DS_Store|work.txt|" ] || fail "Work's folder after switching back: $(listing "$root/Work")"
[ -z "$(listing "$root/Default")" ] || fail "Default's folder still holds $(listing "$root/Default")"
[ "$(sha256sum < "$HOME/Desktop/.DS_Store")" = "$ds_hash" ] || fail "the Desktop's .DS_Store changed"
[ "$(cat "$HOME/Desktop/locked folder/inside.txt")" = inside ] || fail "the locked folder changed"
[ ! -e "$journal" ] || fail "a journal was left"
echo "switch away and back with an item that cannot move: ok"

# 3. A second process with its own runtime folder: one alert, then it quits; the home is as it was.
before="$(home_hash)"
XDG_RUNTIME_DIR="$WORK/runtime2" "$APP" > "$WORK/app2.log" 2>&1 &
second=$!
wait_for_log app2 "another process works on" || fail "the second process did not see the first"
answer_alert
within 10 process_ended $second || true
kill -0 $second 2>/dev/null && fail "the second process did not quit"
wait $second || fail "the second process did not end cleanly"
[ "$(home_hash)" = "$before" ] || fail "the second process changed the home"
kill -0 $pid 2>/dev/null || fail "the first process is gone"
stop_app
echo "second process: ok"
echo PASS > "$WORK/result"
SESSION
chmod +x "$work/session.sh"

# As the superuser permissions do not hold: the session runs as an unprivileged user that owns
# the temporary folder (a numeric id, no account needed).
run_as=()
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || { echo "SKIP: running as root without setpriv"; exit 77; }
  uid=64123
  chown -R "$uid:$uid" "$work"
  setpriv --reuid="$uid" --regid="$uid" --clear-groups true 2>/dev/null \
    || { echo "SKIP: cannot drop to an unprivileged user"; exit 77; }
  run_as=(setpriv --reuid="$uid" --regid="$uid" --clear-groups --)
fi
status=0
"${run_as[@]}" "$E2E_DISPLAY" --screen 1280x800x24 "$work/session.sh" || status=$?
grep -q PASS "$work/result" 2>/dev/null || { echo "FAIL (session status $status)"; exit 1; }
echo "PASS"
