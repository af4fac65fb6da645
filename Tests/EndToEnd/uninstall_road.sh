#!/usr/bin/env bash
# The uninstall on a real display (Xvfb) with a window manager and a tray host, in a temporary
# home where the application is the home's per-user install: renamed in place it does nothing;
# moved to the Trash it offers to bring the desktops back, and on Return puts every live
# desktop that holds something, the blank desktop's items and the parked pinned items onto the
# Desktop under unique names, removes its autostart entry and quits. Checked on disk.
# Usage: uninstall_road.sh PATH_TO_QUORVANE
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/session_lib.sh"
e2e_prepare "$1" gio

# The per-user install: ~/.local/bin with the entry in ~/.local/share/applications.
mkdir -p "$HOME/.local/bin" "$HOME/.local/share/applications"
mv "$APP" "$HOME/.local/bin/quorvane"
mv "$WORK/prefix/share/applications/app.quorvane.Quorvane.desktop" "$HOME/.local/share/applications/"
export APP="$HOME/.local/bin/quorvane"
# gio's own Trash, without looking for a desktop's file-system services.
export GIO_USE_VFS=local

root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Work/Project" "$root/Photos" "$root/Quiet" "$root/Archive/Old" \
  "$root/_Hidden Desktop" "$root/.pinned/Pinned Folder" "$HOME/Documents" "$HOME/Desktop/Photos" \
  "$XDG_CONFIG_HOME/autostart"
echo report > "$root/Work/report.txt"
echo plan > "$root/Work/Project/plan.txt"
echo work-directory > "$root/Work/.directory"
echo photo > "$root/Photos/a.jpg"
echo quiet-directory > "$root/Quiet/.directory"
echo old > "$root/Archive/Old/old.txt"
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
start_desktop_session
start_app app
# The Trash watch starts last in the launch: once it holds the executable open, the launch is done.
for i in $(seq 1 100); do
  ls -l "/proc/$pid/fd" 2>/dev/null | grep -qF -- "-> $APP" && break
  sleep 0.1
done
ls -l "/proc/$pid/fd" | grep -qF -- "-> $APP" || fail "the executable is not watched"
sleep 0.5
before_config="$(md5sum "$config")"

# Renamed where it lies: no window, nothing moves.
before_tree="$(tree)"
mv "$APP" "$HOME/.local/bin/quorvane-renamed"
sleep 2
[ -z "$(alert_windows)" ] || fail "a window appeared after a rename in place"
[ "$(tree)" = "$before_tree" ] || fail "something moved after a rename in place"
kill -0 $pid 2>/dev/null || fail "the application ended after a rename in place"

# A file manager's "Move to Trash".
gio trash "$HOME/.local/bin/quorvane-renamed"
answer_alert
ended=
for i in $(seq 1 100); do
  kill -0 $pid 2>/dev/null || { ended=yes; break; }
  sleep 0.1
done
[ -n "$ended" ] || fail "the application did not quit within 10 s"
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
[ "$(md5sum "$config")" = "$before_config" ] || fail "config.json changed"
[ ! -e "$XDG_CONFIG_HOME/autostart/app.quorvane.Quorvane.desktop" ] || fail "the autostart entry is still there"
[ -f "$XDG_DATA_HOME/Trash/files/quorvane-renamed" ] || fail "the executable is not in the Trash"
grep -q 'app bundle moved to the Trash' "$WORK/app.log" || fail "no Trash line in the log"
grep -q 'restored Photos → Photos 2' "$WORK/app.log" || fail "no restored line for Photos"
echo "uninstall from the Trash: ok"
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
