#!/usr/bin/env bash
# The main road on a real X display (Xvfb) with a window manager and a tray host, in a
# temporary home folder: the first run adopts the Desktop as "Default"; a desktop chosen from
# the status menu is switched to and back; a journal left by an interrupted switch is finished
# at start-up; a second instance started while the first runs has the first show its settings
# and quits, changing nothing; the command line switches the running instance; the status
# menu opens within half a second while 20,000 items move and is still open once they have
# moved, and a termination signal during such a switch lets it finish before the application
# ends. The user's folders that merely bear the name of a copy in progress stay through start,
# switch and quit.
# Every check looks at the files and at config.json on disk.
# Usage: desktops_road.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app"
mkdir -p "$HOME/Desktop/three folder"
echo one > "$HOME/Desktop/one.txt"
echo two > "$HOME/Desktop/two.txt"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session

# 1. First run: the Desktop's three items become desktop "Default"; nothing moves.
start_app app1
wait_for 'c["activeWorkspace"] == "Default"' || fail "no document naming Default"
[ "$(json '[w["name"] for w in c["workspaces"]] == ["Default", "_Hidden Desktop"]')" = True ] || fail "desktops: $(cat "$config")"
[ "$(json 'c["workspaces"][0]["files"] == ["one.txt", "three folder", "two.txt"]')" = True ] || fail "files of Default: $(cat "$config")"
[ "$(json 'c["workspaces"][0].get("state", "active") == "active"')" = True ] || fail "Default is not active"
[ -d "$root/Default" ] && [ -d "$root/_Hidden Desktop" ] || fail "desktop folders missing"
[ "$(listing "$HOME/Desktop")" = "one.txt|three folder|two.txt|" ] || fail "the Desktop changed: $(listing "$HOME/Desktop")"
[ -z "$(listing "$root/Default")" ] || fail "items moved into Default"
stop_app
echo "first run: ok"

# 2. A second desktop, switched to from the status menu and back.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["workspaces"].insert(1, {"name": "Work", "files": ["work.txt"]})
# The one-time note after the first switch is a modal alert; it is not what this checks.
c.setdefault("settings", {})["shownFirstSwitchNote"] = True
json.dump(c, open(sys.argv[1], "w"))
PY
mkdir -p "$root/Work"
echo work > "$root/Work/work.txt"
# The user's own folders named like a copy in progress, one read-only inside: hidden items of
# Work's folder and of the desktops folder like any other.
mkdir -p "$root/Work/.quorvane-copy-mine/inner" "$root/.quorvane-copy-stray"
echo mine > "$root/Work/.quorvane-copy-mine/inner/mine.txt"
echo stray > "$root/.quorvane-copy-stray/stray.txt"
chmod 555 "$root/Work/.quorvane-copy-mine/inner"
start_app app2
choose_from_menu 2
wait_for 'c["activeWorkspace"] == "Work"' || fail "choosing Work from the menu did not switch"
[ "$(listing "$HOME/Desktop")" = "work.txt|" ] || fail "Desktop after the switch: $(listing "$HOME/Desktop")"
[ "$(listing "$root/Default")" = "one.txt|three folder|two.txt|" ] || fail "Default's folder: $(listing "$root/Default")"
[ "$(listing "$root/Work")" = ".quorvane-copy-mine|" ] || fail "Work's folder holds $(listing "$root/Work")"
wait_for_log app2 'switched Default → Work' || fail "no switched line"
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "choosing Default from the menu did not switch back"
[ "$(listing "$HOME/Desktop")" = "one.txt|three folder|two.txt|" ] || fail "Desktop after switching back: $(listing "$HOME/Desktop")"
[ "$(listing "$root/Work")" = ".quorvane-copy-mine|work.txt|" ] || fail "Work's folder: $(listing "$root/Work")"
stop_app
[ "$(cat "$root/Work/.quorvane-copy-mine/inner/mine.txt")" = mine ] || fail "the user's .quorvane-copy-mine is gone"
[ "$(cat "$root/.quorvane-copy-stray/stray.txt")" = stray ] || fail "the user's .quorvane-copy-stray is gone"
echo "switch from the menu and back: ok"

# 3. A switch from Default to Work interrupted after one item had left the Desktop.
mv "$HOME/Desktop/one.txt" "$root/Default/one.txt"
printf '%s' '{"fromWorkspace":"Default","toWorkspace":"Work","outgoing":["one.txt","three folder","two.txt"],"incoming":["work.txt"]}' > "$journal"
start_app app3
wait_for 'c["activeWorkspace"] == "Work"' || fail "the interrupted switch was not finished"
# The document records the finished switch first, then the journal goes.
within 5 not test -e "$journal" || fail "the journal is still there"
[ "$(listing "$HOME/Desktop")" = "work.txt|" ] || fail "Desktop after recovery: $(listing "$HOME/Desktop")"
[ "$(listing "$root/Default")" = "one.txt|three folder|two.txt|" ] || fail "Default's folder after recovery: $(listing "$root/Default")"
grep -q 'crash recovery complete' "$WORK/app3.log" || fail "no recovery line"
echo "recovery: ok"

# 4. A second start while the first runs: the first shows its settings window, the second
# ends at once and changes nothing. The command line reaches the running instance, and says
# when there is none.
wait_for_log app3 "the command line reaches this instance" || fail "the instance did not take the command line"
before="$(md5sum "$config" | cut -d' ' -f1)|$(listing "$HOME/Desktop")|$(listing "$root/Default")|$(listing "$root/Work")"
"$APP" > "$WORK/app4.log" 2>&1 || fail "the second instance did not end cleanly"
grep -q 'Quorvane is running already' "$WORK/app4.log" || fail "the second start did not say it ends"
grep -q 'another instance is' "$WORK/app4.log" && fail "the second start waited for the first to go"
wait_window "Quorvane Settings" 100 >/dev/null || fail "the running instance did not show its settings window"
after="$(md5sum "$config" | cut -d' ' -f1)|$(listing "$HOME/Desktop")|$(listing "$root/Default")|$(listing "$root/Work")"
[ "$before" = "$after" ] || fail "the second instance changed something"
kill -0 $pid 2>/dev/null || fail "the first instance is gone"
status=0
"$APP" --switch-to Nope > "$WORK/cli-unknown.out" 2>&1 || status=$?
[ "$status" = 1 ] || fail "an unknown desktop ended with $status: $(cat "$WORK/cli-unknown.out")"
grep -q 'there is no desktop named .Nope.' "$WORK/cli-unknown.out" || fail "unknown desktop: $(cat "$WORK/cli-unknown.out")"
"$APP" --switch-to Default > "$WORK/cli-switch.out" 2>&1 || fail "--switch-to failed: $(cat "$WORK/cli-switch.out")"
wait_for 'c["activeWorkspace"] == "Default"' || fail "--switch-to Default did not switch"
[ "$(listing "$HOME/Desktop")" = "one.txt|three folder|two.txt|" ] || fail "Desktop after --switch-to: $(listing "$HOME/Desktop")"
stop_app
status=0
"$APP" --next > "$WORK/cli-none.out" 2>&1 || status=$?
[ "$status" = 3 ] || fail "--next without an instance ended with $status: $(cat "$WORK/cli-none.out")"
grep -q 'Quorvane is not running' "$WORK/cli-none.out" || fail "no instance: $(cat "$WORK/cli-none.out")"
echo "second instance: ok"

# 5. While 20,000 items move, the status menu opens at once and stays open after the switch; a
# termination signal during such a switch lets the switch finish, then the application ends.
mkdir -p "$root/Big"
(cd "$root/Big" && seq -f 'item-%05g.txt' 1 20000 | xargs touch)
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["workspaces"].insert(1, {"name": "Big", "files": []})
json.dump(c, open(sys.argv[1], "w"))
PY
# The application's debug log says when the status menu opens and when a switch's last steps
# are done; its times are UTC.
QT_LOGGING_RULES="app.quorvane.Quorvane.app.debug=true;app.quorvane.Quorvane.swap.debug=true" start_app app5
wait_for_log app5 "the command line reaches this instance" || fail "the instance did not take the command line"
log_ms() { # milliseconds since midnight of the first log line matching $1
  local at
  at="$(grep -m1 "$1" "$WORK/app5.log" | sed -E 's/^[0-9-]+T([0-9:.]+)Z.*/\1/')"
  [ -n "$at" ] && echo "$at" | awk -F: '{ printf "%d\n", ($1 * 3600 + $2 * 60 + $3) * 1000 }'
}
wait_tray_icon_settled
xdotool mousemove $(tray_icon_centre)
before="$(app_viewable_windows)"
"$APP" --switch-to Big > "$WORK/cli-big.out" 2>&1 || fail "--switch-to Big failed: $(cat "$WORK/cli-big.out")"
within 10 test -e "$journal" || fail "the switch to Big never began moving"
clicked="$(date -u +%T.%N | awk -F: '{ printf "%d\n", ($1 * 3600 + $2 * 60 + $3) * 1000 }')"
xdotool click 1
# Until the menu opens, what the application's GUI thread is doing (its state, where the kernel
# holds it, its system call and the file of its first argument), so that a late menu shows why
# in the log that fail() prints.
(
  for _ in $(seq 40); do
    sleep 0.1
    log_holds app5 "status menu opens" && break
    read -r call fd _ </proc/$pid/task/$pid/syscall
    echo "$(date -u +%T.%N) $(cut -d' ' -f3 /proc/$pid/task/$pid/stat) $(cat /proc/$pid/task/$pid/wchan) $call $(readlink /proc/$pid/fd/$((fd)))"
  done 2>/dev/null
) > "$WORK/gui-thread.log" &
within 5 log_holds app5 "status menu opens" || fail "the status menu did not open during the switch"
opened="$(log_ms "status menu opens")"
# The menu's window: the application's window that was not there before the click.
menu_window() { comm -13 <(sort <<<"$before") <(app_viewable_windows | sort) | head -n1; }
menu="$(within_for 5 menu_window)" || fail "no window of the status menu"
echo "status menu opened $((opened - clicked)) ms after the click, 20,000 items moving"
within 60 log_holds app5 "switched Default → Big" || fail "the switch to Big did not end"
# A late menu fails with what the GUI thread was doing meanwhile (once, before the fonts were read
# at launch, asleep on a font cache's lock as the first text was drawn).
[ $((opened - clicked)) -le $((500 * $(slowness))) ] \
  || fail "the status menu took $((opened - clicked)) ms to open during the switch; the GUI thread meanwhile: $(cat "$WORK/gui-thread.log")"
[ "$(log_ms "switched Default → Big")" -ge "$opened" ] || fail "the switch had ended before the menu opened"
# The menu opened during the switch is still open once the switch's last steps are done (the
# menu, the glyph, the reveal), and closes with Escape as it would have before.
within 10 log_holds app5 "switch phases" || fail "the switch to Big did not finish its last steps"
pause 1
is_viewable "$menu" || fail "the status menu opened during the switch closed itself once the switch ended"
xdotool key Escape
wait_unmapped "$menu" || fail "the status menu did not close with Escape"
echo "the status menu opened during the switch stayed open after it"
within 60 not test -e "$journal" || fail "the switch to Big did not end"
wait_for 'c["activeWorkspace"] == "Big"' || fail "the switch to Big was not recorded"
[ "$(ls -1 "$HOME/Desktop" | wc -l)" = 20000 ] || fail "the Desktop holds $(ls -1 "$HOME/Desktop" | wc -l) items, not Big's 20,000"
# Asked again while the instance still finishes the last switch (it says it is busy then).
switch_back() { "$APP" --switch-to Default > "$WORK/cli-back.out" 2>&1; }
within 10 switch_back || fail "--switch-to Default failed: $(cat "$WORK/cli-back.out")"
within 10 test -e "$journal" || fail "the switch back never began moving"
stop_app
[ ! -e "$journal" ] || fail "the application ended before the switch it had begun was finished"
[ "$(json 'c["activeWorkspace"]')" = Default ] || fail "the switch under way at the signal was not recorded"
[ "$(listing "$HOME/Desktop")" = "one.txt|three folder|two.txt|" ] || fail "Desktop after the signal: $(listing "$HOME/Desktop")"
[ "$(ls -1 "$root/Big" | wc -l)" = 20000 ] || fail "Big's folder holds $(ls -1 "$root/Big" | wc -l) items"
echo "a switch of 20,000 items: ok"
[ -f "$root/Work/.quorvane-copy-mine/inner/mine.txt" ] && [ -f "$root/.quorvane-copy-stray/stray.txt" ] \
  || fail "a folder named like a copy in progress is gone after the last quit"
chmod 755 "$root/Work/.quorvane-copy-mine/inner"
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
