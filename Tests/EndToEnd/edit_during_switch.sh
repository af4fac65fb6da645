#!/usr/bin/env bash
# A hand edit of config.json while a switch moves the items (a desktop record added, a desktop's
# colour and a setting changed) survives the switch, merged into the switch's record; a value
# the switch also set stays the switch's, and the log says so.
# Usage: edit_during_switch.sh PATH_TO_QUORVANE
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app"
echo one > "$HOME/Desktop/one.txt"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
start_app app1
wait_for 'c["activeWorkspace"] == "Default"' || fail "no document naming Default"
stop_app
# A second desktop, and a switch that waits two seconds between moving out and moving in.
python3 - "$config" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
c["workspaces"].insert(1, {"name": "Work", "files": ["work.txt"]})
# Recorded afresh as Default is left: the switch's own value, which a hand edit does not replace.
c["workspaces"][0]["files"] = []
c.setdefault("settings", {}).update(shownFirstSwitchNote=True, moveGapMs=2000)
json.dump(c, open(sys.argv[1], "w"))
PY
mkdir -p "$root/Work"
echo work > "$root/Work/work.txt"
start_app app2
wait_for_log app2 "the command line reaches this instance" || fail "the instance did not take the command line"
"$APP" --switch-to Work > "$WORK/cli.out" 2>&1 || fail "--switch-to Work failed: $(cat "$WORK/cli.out")"
within 10 test -e "$journal" || fail "the switch never began moving"
# As an editor saves: a new file renamed over the document.
python3 - "$config" <<'PY'
import json, os, sys
c = json.load(open(sys.argv[1]))
c["workspaces"].insert(2, {"name": "Hand", "files": []})
next(w for w in c["workspaces"] if w["name"] == "Work")["colorHex"] = "#123456"
next(w for w in c["workspaces"] if w["name"] == "Default")["files"] = ["gone.txt"]
c["settings"]["scrollToCycle"] = not c["settings"].get("scrollToCycle", True)
json.dump(c, open(sys.argv[1] + ".new", "w"))
os.replace(sys.argv[1] + ".new", sys.argv[1])
PY
scroll="$(json 'c["settings"]["scrollToCycle"]')"
wait_for_log app2 "switched Default → Work" || fail "the switch did not end"
within 10 not test -e "$journal" || fail "the journal is still there"
wait_for 'c["activeWorkspace"] == "Work"' || fail "the switch was not recorded"
[ "$(listing "$HOME/Desktop")" = "work.txt|" ] || fail "Desktop after the switch: $(listing "$HOME/Desktop")"
[ "$(json '[w["name"] for w in c["workspaces"]] == ["Default", "Work", "Hand", "_Hidden Desktop"]')" = True ] \
  || fail "the desktop added by hand is gone: $(cat "$config")"
[ "$(json 'next(w for w in c["workspaces"] if w["name"] == "Work").get("colorHex")')" = "#123456" ] \
  || fail "the colour set by hand is gone: $(cat "$config")"
[ "$(json 'c["settings"]["scrollToCycle"]')" = "$scroll" ] || fail "the setting changed by hand is gone: $(cat "$config")"
[ "$(json 'next(w for w in c["workspaces"] if w["name"] == "Default")["files"] == ["one.txt"]')" = True ] \
  || fail "the switch's record of Default's files was replaced: $(cat "$config")"
wait_for_log app2 "config.json was changed on disk during the switch" || fail "no line on the merged edit"
wait_for_log app2 'the switch'"'"'s value stays: workspaces[Default].files' || fail "no line on the value kept"
stop_app
echo "an edit during a switch: ok"
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
