#!/usr/bin/env bash
# The installation and the uninstall on a real display (Xvfb) with a window manager, a tray host
# and a session bus with its accessibility bus, in a temporary home. Started from the Downloads
# folder it offers to move itself; Return at the offer, wherever the focus is, moves it into the
# per-user install, whence it starts again. Through the settings window: an archived desktop
# named "<b>Bold</b>" reads so, literally, in its Trash question, and the uninstall question's
# first button reads "Bring My Desktops Back & Uninstall" (both read as assistive technology
# reads them; pictures go to $QUORVANE_TEST_ARTIFACTS). Renamed in place it does nothing;
# moved to the Trash it offers to bring the desktops back, and on Return puts every live
# desktop that holds something, the blank desktop's items and the parked pinned items onto the
# Desktop under unique names, sets its document aside, removes its autostart and desktop entries
# and quits. Started again afterwards it begins afresh and leaves the restored folders where
# they are. Checked on disk.
# Usage: uninstall_road.sh PATH_TO_QUORVANE PATH_TO_WINDOW_GRAB
set -euo pipefail
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$1" gio gdbus dbus-run-session /usr/bin/python3 /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import dbus' 2>/dev/null || { echo "SKIP: python3-dbus is not installed"; exit 77; }
export GRAB="$2" ARTIFACTS="${QUORVANE_TEST_ARTIFACTS:-$WORK/artifacts}"
export TREE="${BASH_SOURCE[0]%/*}/accessible_tree.py"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

# As downloaded: the executable beside its desktop entry in a folder of ~/Downloads.
mkdir -p "$HOME/Downloads/quorvane-1.0"
mv "$WORK/prefix/bin" "$WORK/prefix/share" "$HOME/Downloads/quorvane-1.0/"
export DOWNLOADED="$HOME/Downloads/quorvane-1.0/bin/quorvane" APP="$HOME/.local/bin/quorvane"
# gio's own Trash, without looking for a desktop's file-system services.
export GIO_USE_VFS=local

root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Work/Project" "$root/Photos" "$root/Quiet" "$root/Archive/Old" "$root/Archive/Bold" \
  "$root/_Hidden Desktop" "$root/.pinned/Pinned Folder" "$HOME/Documents" "$HOME/Desktop/Photos" \
  "$XDG_CONFIG_HOME/autostart"
echo report > "$root/Work/report.txt"
echo plan > "$root/Work/Project/plan.txt"
echo work-directory > "$root/Work/.directory"
echo photo > "$root/Photos/a.jpg"
echo quiet-directory > "$root/Quiet/.directory"
echo old > "$root/Archive/Old/old.txt"
echo bold > "$root/Archive/Bold/bold.txt"
echo keep > "$HOME/Documents/keep.txt"
echo left > "$root/_Hidden Desktop/left.txt"
echo pinned-notes > "$root/.pinned/notes.txt"
echo inside > "$root/.pinned/Pinned Folder/inside.txt"
echo desk > "$HOME/Desktop/desk.txt"
echo mine > "$HOME/Desktop/Photos/mine.txt"
echo my-notes > "$HOME/Desktop/notes.txt"
printf '[Desktop Entry]\nType=Application\nName=Quorvane\nExec="%s"\n' "$APP" \
  > "$XDG_CONFIG_HOME/autostart/app.quorvane.Quorvane.desktop"
python3 - "$root" <<'PY'
import json, sys
root = sys.argv[1]
json.dump({
    "schemaVersion": 1,
    "activeWorkspace": "_Hidden Desktop",
    "workspaces": [
        {"name": "Work", "files": ["report.txt", "Project"]},
        {"name": "Photos", "files": ["a.jpg"]},
        {"name": "Quiet"},
        {"name": "Old", "state": "archivedUnsorted", "archiveLocation": root + "/Archive/Old"},
        {"name": "<b>Bold</b>", "state": "archivedSorted", "archiveLocation": root + "/Archive/Bold"},
        {"name": "../Documents", "files": ["keep.txt"]},
        {"name": "_Hidden Desktop"},
    ],
    "settings": {"pinnedFolders": ["notes.txt", "Pinned Folder"], "shownFirstSwitchNote": True},
}, open(root + "/.store/config.json", "w"))
PY

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
tree() { (cd "$HOME" && find Desktop "QuorVane Desktops" Documents -path '*/.store' -prune -o -print | LC_ALL=C sort | md5sum); }
# What assistive technology reads of the application, one object a line: "role|name|x,y,w,h".
readout() { /usr/bin/python3 "$TREE" Quorvane; }
# Waits until the readout holds an object of role $1 named exactly $2 and prints the middle of
# its box.
centre_in_readout() {
  readout | ROLE="$1" NAME="$2" awk -F'|' '{ sub(/^ +/, "", $1) }
    $1 == ENVIRON["ROLE"] && $2 == ENVIRON["NAME"] { split($3, b, ","); print b[1] + int(b[3]/2), b[2] + int(b[4]/2); exit }'
}
centre_of() { within_for 5 centre_in_readout "$1" "$2"; }
# A user's accessibility switch, as the desktop's settings turn it on: on the session's
# accessibility bus, before the application starts.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null
start_desktop_session

# 1. Started from Downloads: the offer opens with the focus on "Not now"; Return moves it.
APP="$DOWNLOADED" start_app prompt
offer="$(wait_window 'Move Quorvane to your applications folder\?' 50)" || fail "no offer to move"
xdotool windowactivate --sync "$offer" >/dev/null 2>&1 || true
wait_window_active "$offer" || fail "the offer did not take the keyboard"
xdotool key Return
within 10 process_ended $pid || true
kill -0 $pid 2>/dev/null && fail "the downloaded copy did not quit after Return"
[ -x "$APP" ] && [ ! -e "$DOWNLOADED" ] || fail "Return did not move the executable into ~/.local/bin"
[ -f "$HOME/.local/share/applications/app.quorvane.Quorvane.desktop" ] || fail "the desktop entry did not move"
relaunched="$(within_for 10 pgrep -f -x -- "$APP")" || fail "it did not start again from ~/.local/bin"
wait_for_log prompt "relocated to $APP" || fail "no relocation line"
# The new instance holds the desktops; it quits on TERM like any session's end, once launched
# (the Trash watch, which holds the executable open, starts last).
relaunch_done() { ls -l "/proc/$relaunched/fd" 2>/dev/null | grep -qF -- "-> $APP"; }
within 10 relaunch_done || fail "the instance started again did not finish its launch (process $relaunched;" \
  "now $(pgrep -a -f -- "$APP" | tr '\n' ';'); its files: $(ls -l "/proc/$relaunched/fd" 2>&1 | grep -c -- '->'))"
kill -TERM "$relaunched"
within 10 process_ended "$relaunched" || true
echo "the move offer: ok"

start_app app

# 2. The Trash question of the archived "<b>Bold</b>" (Organize section), read as written.
choose_from_menu_end 2
win="$(wait_window 'Quorvane Settings' 50)" || fail "no window titled Quorvane Settings within 5 s"
wait_window_active "$win" || fail "the settings window did not take the keyboard"
press Down; press Down; press Down
xdotool mousemove $(centre_of 'push button' 'Move <b>Bold</b> to the Trash') click 1 || fail "no Trash button for <b>Bold</b>"
question="$(centre_of label 'Move “<b>Bold</b>” to the Trash?')" || fail "the Trash question does not read the name as written: $(readout)"
picture "$(xdotool getactivewindow)" trash-question
press Escape
[ -d "$root/Archive/Bold" ] || fail "Escape moved <b>Bold</b> to the Trash"
# 3. The uninstall question (Advanced section): its first button read as written.
xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
xdotool mousemove $(centre_of 'list item' 'Advanced') click 1 || fail "no Advanced section"
xdotool mousemove $(centre_of 'push button' 'Uninstall Quorvane…') click 1 || fail "no Uninstall Quorvane… button"

centre_of 'push button' 'Bring My Desktops Back & Uninstall' >/dev/null || fail "the uninstall button does not read as written: $(readout 2>&1)"
picture "$(xdotool getactivewindow)" uninstall-question
press Escape
xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
press alt+F4
wait_unmapped "$win" || fail "Alt+F4 did not close the settings window"
echo "texts as written: ok"

# The Trash watch starts last in the launch: once it holds the executable open, the launch is done.
executable_watched() { ls -l "/proc/$pid/fd" 2>/dev/null | grep -qF -- "-> $APP"; }
within 10 executable_watched || fail "the executable is not watched"
before_config="$(md5sum < "$config")"

# Renamed where it lies: no window, nothing moves.
before_tree="$(tree)"
mv "$APP" "$HOME/.local/bin/quorvane-renamed"
# Time passes on purpose: a window a rename in place must not bring would show within it.
pause 2
[ -z "$(alert_windows)" ] || fail "a window appeared after a rename in place"
[ "$(tree)" = "$before_tree" ] || fail "something moved after a rename in place"
kill -0 $pid 2>/dev/null || fail "the application ended after a rename in place"

# A file manager's "Move to Trash".
gio trash "$HOME/.local/bin/quorvane-renamed"
answer_alert
within 10 process_ended $pid || fail "the application did not quit within 10 s"
status=0
wait $pid || status=$?
[ "$status" = 0 ] || fail "the application ended with status $status"

python3 - "$HOME" <<'PY' || fail "the Desktop or the desktops folder is not as expected"
import os, sys
home = sys.argv[1]
desk = os.path.join(home, "Desktop")
root = os.path.join(home, "QuorVane Desktops")
def read(*parts):
    return open(os.path.join(*parts)).read()
def check(ok, what):
    if not ok:
        print("FAIL:", what)
        sys.exit(1)
names = sorted(os.listdir(desk))
check(names == sorted(["desk.txt", "Hidden desktop", "notes.txt", "notes.txt 2", "Photos", "Photos 2",
                       "Pinned Folder", "Work"]), "Desktop holds %r" % names)
check(read(desk, "desk.txt") == "desk\n", "desk.txt")
check(os.listdir(os.path.join(desk, "Photos")) == ["mine.txt"], "Photos holds only mine.txt")
check(read(desk, "Photos", "mine.txt") == "mine\n", "mine.txt")
check(os.listdir(os.path.join(desk, "Photos 2")) == ["a.jpg"], "Photos 2 holds a.jpg")
check(read(desk, "notes.txt") == "my-notes\n", "the user's notes.txt")
check(read(desk, "notes.txt 2") == "pinned-notes\n", "notes.txt 2 holds the pinned text")
check(read(desk, "Pinned Folder", "inside.txt") == "inside\n", "Pinned Folder")
check(sorted(os.listdir(os.path.join(desk, "Work"))) == [".directory", "Project", "report.txt"], "Work")
check(read(desk, "Work", ".directory") == "work-directory\n", "Work/.directory")
check(read(desk, "Work", "Project", "plan.txt") == "plan\n", "Work/Project/plan.txt")
check(os.listdir(os.path.join(desk, "Hidden desktop")) == ["left.txt"], "Hidden desktop")
check(os.path.isdir(os.path.join(root, ".store")), ".store stays")
check(os.listdir(os.path.join(root, ".pinned")) == [], ".pinned stays, empty")
check(os.listdir(os.path.join(root, "Quiet")) == [".directory"], "Quiet stays")
check(read(root, "Archive", "Old", "old.txt") == "old\n", "Archive/Old/old.txt stays")
check(read(home, "Documents", "keep.txt") == "keep\n", "keep.txt is untouched")
check(sorted(os.listdir(os.path.join(home, "Documents"))) == ["keep.txt"], "Documents holds only keep.txt")
PY
retired=("$root/.store/"config.uninstalled-*.json)
[ -f "${retired[0]}" ] && [ "${#retired[@]}" = 1 ] || fail "the document was not set aside: $(ls -A "$root/.store")"
[ ! -e "$config" ] || fail "config.json is still in place"
[ "$(md5sum < "${retired[0]}")" = "$before_config" ] || fail "the set-aside document changed"
[ ! -e "$XDG_CONFIG_HOME/autostart/app.quorvane.Quorvane.desktop" ] || fail "the autostart entry is still there"
[ ! -e "$XDG_DATA_HOME/applications/app.quorvane.Quorvane.desktop" ] || fail "the desktop entry is still there"
[ -f "$XDG_DATA_HOME/Trash/files/quorvane-renamed" ] || fail "the executable is not in the Trash"
grep -q 'app bundle moved to the Trash' "$WORK/app.log" || fail "no Trash line in the log"
grep -q 'restored Photos → Photos 2' "$WORK/app.log" || fail "no restored line for Photos"
echo "uninstall from the Trash: ok"

# Started again by hand (from the Trash, through a link named as the program is): it begins
# afresh, the Desktop as it is becoming "Default"; the restored folders stay on the Desktop and
# the set-aside document as it was.
desk_before="$(listing "$HOME/Desktop")"
ln -s "$XDG_DATA_HOME/Trash/files/quorvane-renamed" "$WORK/quorvane"
APP="$WORK/quorvane" start_app relaunch
wait_for 'c["activeWorkspace"] == "Default" and [w["name"] for w in c["workspaces"]] == ["Default", "_Hidden Desktop"]' \
  || fail "the start after the uninstall did not begin afresh"
stop_app
[ "$(listing "$HOME/Desktop")" = "$desk_before" ] || fail "the Desktop changed at the start after the uninstall"
python3 - "$config" "$HOME/Desktop" <<'PY' || fail "Default does not hold the Desktop's items: $(json 'c["workspaces"][0]["files"]')"
import json, os, sys
files = json.load(open(sys.argv[1]))["workspaces"][0]["files"]
sys.exit(0 if sorted(files) == sorted(n for n in os.listdir(sys.argv[2]) if not n.startswith(".")) else 1)
PY
[ "$(md5sum < "${retired[0]}")" = "$before_config" ] || fail "the start changed the set-aside document"
echo "a start after the uninstall: ok"
echo PASS > "$WORK/result"
SESSION
e2e_run_session_on_bus "$WORK/session.sh"
