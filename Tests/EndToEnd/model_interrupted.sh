#!/usr/bin/env bash
# Settings-model operations cut short by the process ending, on a real display: renaming an
# inactive desktop, deleting one, archiving a temporary one and picking a cue image over an
# earlier one, each stopped before every one of its steps in turn and once run to the end. After
# each run the real application starts on the same home, and every original item must lie
# exactly once, unchanged, where the user can reach it (the Desktop, a listed desktop's folder or
# archive, the archive folder, the Trash with its record, a folder the desktops folder offers),
# config.json must decode, and a switch chosen from the status menu to the touched desktop (or
# another when it is gone) must complete with all of that still true.
# One operation a run, so that the four run side by side; with PART/PARTS, the run stops it before
# steps PART, PART + PARTS, PART + 2 PARTS, ... only (and runs it to the end), so that the steps
# of one operation are dealt over PARTS runs.
# Usage: model_interrupted.sh PATH_TO_QUORVANE PATH_TO_QUORVANE_MODEL_STEP rename|delete|archive|cue [PART/PARTS]
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
case "${3:-}" in
  rename|delete|archive|cue) ;;
  *) echo "usage: $0 PATH_TO_QUORVANE PATH_TO_QUORVANE_MODEL_STEP rename|delete|archive|cue [PART/PARTS]"; exit 2 ;;
esac
part="${4:-1/1}"
[[ "$part" =~ ^([1-9][0-9]*)/([1-9][0-9]*)$ ]] && [ "${BASH_REMATCH[1]}" -le "${BASH_REMATCH[2]}" ] \
  || { echo "usage: PART/PARTS, as 2/3"; exit 2; }
export FIRST_STEP="${BASH_REMATCH[1]}" STRIDE="${BASH_REMATCH[2]}"
e2e_prepare "$app"
export STEP="$2" OPERATION="$3"

cat > "$WORK/items.py" <<'PY'
# check ITEMS_FILE [TOUCHED]: the reachable places of the stored document (which must decode);
# with TOUCHED, prints the menu position of that desktop, or of another inactive one when it is
# gone, and its name.
import json, os, sys, time, urllib.parse
home = os.environ["HOME"]
root = os.path.join(home, "QuorVane Desktops")
trash = os.path.join(os.environ["XDG_DATA_HOME"], "Trash")
c = json.load(open(os.path.join(root, ".store", "config.json")))
blank = "_Hidden Desktop"
ws = c.get("workspaces", [])
live = [w["name"] for w in ws if w.get("state", "active") == "active" and w["name"] != blank]

def files_under(top):
    out = set()
    if os.path.isfile(top) and not os.path.islink(top):
        out.add(os.path.realpath(top))
    for d, _, names in os.walk(top):
        for n in names:
            p = os.path.join(d, n)
            if os.path.isfile(p) and not os.path.islink(p):
                out.add(os.path.realpath(p))
    return out

reach = files_under(os.path.join(home, "Desktop")) | files_under(os.path.join(home, "Pictures"))
names = set()
for w in ws:
    names.add(w["name"])
    if w.get("state", "active") == "active":
        reach |= files_under(os.path.join(root, w["name"]))
    elif w.get("archiveLocation"):
        reach |= files_under(w["archiveLocation"])
    cue = w.get("cue") or {}
    image = (cue.get("fill") or {}).get("image")
    if image and not os.path.isfile(image["_0"]):
        sys.exit("the cue of %s names a missing image %s" % (w["name"], image["_0"]))
reach |= files_under(c.get("settings", {}).get("archiveRoot") or os.path.join(root, "Archive"))
for e in sorted(os.listdir(root)):
    p = os.path.join(root, e)
    if (os.path.isdir(p) and not os.path.islink(p) and not e.startswith((".", "_"))
            and e.lower() != "archive" and e not in names):
        reach |= files_under(p)
tfiles = os.path.join(trash, "files")
if os.path.isdir(tfiles):
    for e in os.listdir(tfiles):
        info = os.path.join(trash, "info", e + ".trashinfo")
        if not os.path.isfile(info):
            sys.exit("no Trash record for " + e)
        path = [l[5:] for l in open(info).read().splitlines() if l.startswith("Path=")]
        if not path or not urllib.parse.unquote(path[0]).startswith(root + "/"):
            sys.exit("the Trash record of %s names %s" % (e, path))
        reach |= files_under(os.path.join(tfiles, e))
# The running application writes its own files beside the user's (through a temporary file
# renamed over the old one): when a file of the whole home goes while it is read, the home is
# read again. The reachable places hold the user's items alone, which nothing moves now.
def texts(paths):
    out = {}
    for p in paths:
        out.setdefault(open(p, "rb").read().rstrip(b"\n"), []).append(p)
    return out
seen = texts(reach)
for attempt in range(50):
    try:
        anywhere = texts(files_under(home))
        break
    except FileNotFoundError:
        if attempt == 49:
            raise
        time.sleep(0.1)
for line in open(sys.argv[2]).read().splitlines():
    key = line.encode()
    if key not in anywhere:
        sys.exit("lost: " + line)
    if len(seen.get(key, [])) != 1:
        sys.exit("%s lies %d times where it can be reached (%s)" % (line, len(seen.get(key, [])), anywhere[key]))
if len(sys.argv) > 3:
    name = sys.argv[3]
    target = name if name in live else next(n for n in live if n != c["activeWorkspace"])
    print(live.index(target) + 1, target)
PY

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
items="$WORK/items.txt"

# Every item's text names it once; the folders are made beforehand (no process for each item).
item() { echo "item $count of $1" > "$1"; echo "item $count of $1" >> "$items"; count=$((count + 1)); }
prepare() {
  rm -rf "$HOME" && mkdir -p "$HOME/Desktop" "$HOME/Pictures" "$XDG_DATA_HOME" "$root/.store/cues" "$root/Home" \
    "$root/Work/wdir" "$root/Temp" "$root/_Hidden Desktop"
  : > "$items"
  count=0
  item "$HOME/Desktop/home.txt"
  item "$root/Work/w.txt"
  item "$root/Work/wdir/inner.txt"
  item "$root/Temp/t.txt"
  item "$HOME/Pictures/new.png"
  echo "earlier copy" > "$root/.store/cues/EARLIER.png"
  # Written without a Python start, which takes seconds on a loaded machine (the home's path
  # holds no character JSON would escape: it is mktemp's).
  cat > "$config" <<JSON
{"activeWorkspace": "Home", "workspaces": [
  {"name": "Home", "files": ["home.txt"]},
  {"name": "Work", "cue": {"enabled": true, "fill": {"image": {"_0": "$root/.store/cues/EARLIER.png"}}, "opacity": 0.5}},
  {"name": "Temp", "type": "temporary"}, {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true}}
JSON
}
check() { python3 "$WORK/items.py" check "$items" || fail "$1"; }

run_case() { # $1: name, $2: touched desktop, $3...: the operation
  local name="$1" touched="$2" n="$FIRST_STEP" visited=0 code out place
  shift 2
  while :; do
    prepare
    code=0
    out="$("$STEP" "$@" --die-before $n 2>&1)" || code=$?
    [ $code = 0 ] || [ $code = 3 ] || fail "$name: the step program failed ($code): $out"
    check "$name, stopped before step $n: before the launch"
    start_app "app-$name-$n"
    # config.json decodes, every item is reachable once, and the desktop to switch to.
    place="$(python3 "$WORK/items.py" check "$items" "$touched")" || fail "$name, stopped before step $n: after the launch"
    read -r index target <<<"$place"
    choose_from_menu "$index"
    wait_for "c['activeWorkspace'] == '$target'" || fail "$name, step $n: the switch to $target did not complete"
    check "$name, stopped before step $n: after switching to $target"
    stop_app
    if [ $code = 0 ]; then
      echo "$name: $out"
      break
    fi
    visited=$((visited + 1))
    n=$((n + STRIDE))
  done
  echo "$name: stopped before each of $visited steps (from step $FIRST_STEP, every $STRIDE), then run to the end: ok"
}

case "$OPERATION" in
rename)
  run_case rename Job rename Work Job
  [ "$(json '[w["name"] for w in c["workspaces"]] == ["Home", "Job", "Temp", "_Hidden Desktop"]')" = True ] || fail "rename: $(cat "$config")"
  [ "$(listing "$HOME/Desktop")" = "w.txt|wdir|" ] || fail "rename: the Desktop of Job holds $(listing "$HOME/Desktop")"
  ;;
delete)
  run_case delete Work delete Work
  [ "$(json '"Work" not in [w["name"] for w in c["workspaces"]]')" = True ] || fail "delete: $(cat "$config")"
  [ -f "$XDG_DATA_HOME/Trash/files/Work/w.txt" ] || fail "delete: Work is not in the Trash"
  ;;
archive)
  run_case archive Temp archive Temp
  [ "$(json '[w.get("state") for w in c["workspaces"] if w["name"] == "Temp"] == ["archivedUnsorted"]')" = True ] || fail "archive: $(cat "$config")"
  ;;
cue)
  run_case cue Work cue Work "$HOME/Pictures/new.png"
  [ "$(json '[w["cue"]["fill"]["image"]["_0"].endswith(".png") and "EARLIER" not in w["cue"]["fill"]["image"]["_0"] for w in c["workspaces"] if w["name"] == "Work"] == [True]')" = True ] || fail "cue: $(cat "$config")"
  [ ! -e "$root/.store/cues/EARLIER.png" ] || fail "cue: the earlier copy is still there"
  ;;
esac
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
