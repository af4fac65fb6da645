#!/usr/bin/env bash
# Requests made while a switch runs, on a real display: each waits its turn and is resolved when
# taken. Two presses of the next-desktop key during a two-second switch end on the third desktop;
# `quorvane --next` twice, 0.5 s apart, is accepted twice (exit 0) and ends two steps on; the
# Trash offer answered while a 20,000-item switch moves brings every item back once the switch
# has ended. Checked on disk and in config.json.
# Usage: requests_road.sh PATH_TO_QUORVANE
set -euo pipefail
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$1" gio
export GIO_USE_VFS=local

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
# A, B and C, A active; Ctrl+Alt+N is "next desktop"; every switch lasts two seconds.
mkdir -p "$root/.store" "$root/A" "$root/B" "$root/C" "$root/Big"
echo a > "$HOME/Desktop/a.txt"
echo b > "$root/B/b.txt"
echo c > "$root/C/c.txt"
(cd "$root/Big" && seq -f 'item-%05g.txt' 1 20000 | xargs touch)
cat > "$config" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "A",
 "workspaces": [{"name": "A", "files": ["a.txt"]}, {"name": "B", "files": ["b.txt"]}, {"name": "C", "files": ["c.txt"]}],
 "settings": {"cycleNext": {"keyCode": 45, "modifiers": 786432}, "moveGapMs": 2000, "shownFirstSwitchNote": true}}
JSON
start_desktop_session
start_app app
wait_for_log app "the command line reaches this instance" || fail "the instance did not take the command line"

# 1. Two presses, a second apart, during the first one's switch.
press ctrl+alt+n
within 5 test -e "$journal" || fail "the first press did not begin a switch"
pause 0.6
press ctrl+alt+n
within 20 log_holds app 'switched B → C' || fail "the second press did not switch on from B"
wait_for 'c["activeWorkspace"] == "C"' || fail "two presses from A did not end on C"
[ "$(listing "$HOME/Desktop")" = "c.txt|" ] || fail "the Desktop holds $(listing "$HOME/Desktop")"
[ "$(listing "$root/A")$(listing "$root/B")" = "a.txt|b.txt|" ] || fail "A and B hold $(listing "$root/A") $(listing "$root/B")"
echo "two presses during a switch: ok"

# 2. The command line takes the same road: both requests accepted, two steps on (C → A → B).
"$APP" --next > "$WORK/next1.out" 2>&1 || fail "the first --next was refused: $(cat "$WORK/next1.out")"
pause 0.5
"$APP" --next > "$WORK/next2.out" 2>&1 || fail "the second --next was refused: $(cat "$WORK/next2.out")"
grep -q 'once the switch under way has ended' "$WORK/next2.out" || fail "the second --next said: $(cat "$WORK/next2.out")"
within 20 log_holds app 'switched A → B' || fail "the second --next did not switch on from A"
wait_for 'c["activeWorkspace"] == "B"' || fail "two --next from C did not end on B"
[ "$(listing "$HOME/Desktop")" = "b.txt|" ] || fail "the Desktop holds $(listing "$HOME/Desktop")"
echo "the command line during a switch: ok"

# 3. The Trash offer answered 0.4 s after a switch to 20,000 items began (its two-second gap keeps
# it under way): the uninstall waits for the items to arrive, then brings every one back.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["workspaces"].append({"name": "Big", "files": []})
json.dump(c, open(sys.argv[1], "w"))
PY
wait_for 'any(w["name"] == "Big" for w in c["workspaces"])' || fail "Big was not added"
executable_watched() { ls -l "/proc/$pid/fd" 2>/dev/null | grep -qF -- "-> $APP"; }
within 10 executable_watched || fail "the executable is not watched"
gio trash "$APP"
trashed="$XDG_DATA_HOME/Trash/files/quorvane"
win="$(within_for 10 first_alert_window)" || fail "no Trash offer appeared"
"$trashed" --switch-to Big > "$WORK/big.out" 2>&1 || fail "--switch-to Big was refused: $(cat "$WORK/big.out")"
within 10 test -e "$journal" || fail "the switch to Big never began"
pause 0.4
answer_alert
within 60 process_ended $pid || fail "the application did not quit after the uninstall"
desktop_files="$(find "$HOME/Desktop" -type f | wc -l)"
# What the application keeps for itself (its store, the blank desktop's hidden flag) stays.
users_left() { find "$root" -mindepth 1 \( -path "$root/.store" -o -path "$root/.hidden" \) -prune -o -type f -print; }
left="$(users_left | wc -l)"
[ "$desktop_files" = 20003 ] || fail "the Desktop holds $desktop_files files, not 20,003"
[ "$left" = 0 ] || fail "$left items stayed in the desktops folder: $(users_left | head -3)"
[ -f "$HOME/Desktop/A/a.txt" ] && [ -f "$HOME/Desktop/C/c.txt" ] || fail "A and C did not come back as folders: $(listing "$HOME/Desktop" | head -c 200)"
grep -q 'bring the desktops back waits for the switch under way' "$WORK/app.log" || fail "the uninstall did not wait for the switch"
echo "an uninstall during a switch of 20,000 items: ok"
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
