#!/usr/bin/env bash
# The settings window on a real X display with a window manager and a tray host, in a temporary
# home folder, driven by keyboard as a user would: "Settings…" from the status menu maps
# "Quorvane Settings"; Down runs through the nine sections (a picture of each goes to
# $QUORVANE_TEST_ARTIFACTS, each unlike the one before); General's login toggle writes
# the autostart entry and removes it, leaving config.json alone; a desktop renamed in the
# Desktops section renames its folder and its record, and a refused name shows "Can't do that"
# and changes nothing; with no Trash to be had (a file at its place), a desktop's "Move to Trash"
# leaves its folder where it is, says why, and puts nothing in the working directory.
# Usage: settings_first_group.sh PATH_TO_QUORVANE PATH_TO_WINDOW_GRAB
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app" xprop md5sum
export GRAB="$2" ARTIFACTS="${QUORVANE_TEST_ARTIFACTS:-$WORK/artifacts}"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

# "Default" active with one.txt on the Desktop, "Work" and the blank desktop.
root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Work" "$root/_Hidden Desktop"
echo one > "$HOME/Desktop/one.txt"
echo work > "$root/Work/w.txt"
# No Trash can be set up: a file stands where it would be. The application runs in an empty
# working directory, where nothing may land.
echo "not a folder" > "$XDG_DATA_HOME/Trash"
mkdir -p "$WORK/cwd"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [{"name": "Default", "files": ["one.txt"]}, {"name": "Work"}, {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true}}
JSON

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
cd "$WORK/cwd"
autostart="$XDG_CONFIG_HOME/autostart/app.quorvane.Quorvane.desktop"
sum() { md5sum "$config" | cut -d' ' -f1; }
disk() { echo "$(sum)|$(listing "$HOME/Desktop")|$(listing "$root")|$(listing "$root/Projects")|$(listing "$root/Work")"; }
start_app app

# 1. "Settings…" (the menu ends "Settings…", "Quit": no update framework offers updates here).
choose_from_menu_end 2
win="$(wait_window 'Quorvane Settings' 50)" || fail "no window titled Quorvane Settings within 5 s"
is_viewable "$win" || fail "the settings window is not viewable"
read -r w h <<<"$(window_size "$win")"
[ "$w" -ge 700 ] && [ "$h" -ge 470 ] || fail "the settings window is ${w}x${h}"
wait_window_active "$win" || fail "the settings window did not take the keyboard"
echo "open: ok (${w}x${h})"

# 2. Down through the nine sections and back up, a picture of each.
sections=(general workspaces pinnedFolders organisation appearance floatingDock shortcuts advanced experimental)
previous=
for i in "${!sections[@]}"; do
  name="${sections[$i]}"
  [ "$i" -gt 0 ] && press Down
  if [ -n "$previous" ]; then
    changed="$(picture_until "$win" "$name" "$previous" -gt 2000)"
    [ "$changed" -gt 2000 ] || fail "$name differs from $previous in only $changed pixels"
  else
    picture "$win" "$name"
  fi
  previous="$name"
done
for i in $(seq 1 8); do press Up; done
[ "$(picture_until "$win" general-again general -lt 2000)" -lt 2000 ] || fail "Up eight times did not come back to General"
echo "sections: ok"

# 3. General: the login toggle is the page's first control.
before="$(sum)"
press Tab
press space
within 5 test -f "$autostart" || fail "no autostart entry"
exec_line="$(grep '^Exec=' "$autostart")"
[[ "$exec_line" == "Exec=\"$APP\"" || "$exec_line" == "Exec=$APP" ]] || fail "the entry runs $exec_line, not $APP"
! grep -q '^Hidden=true' "$autostart" || fail "the entry is hidden"
press space
within 5 not test -e "$autostart" || fail "the autostart entry is still there"
[ "$(sum)" = "$before" ] || fail "config.json changed"
echo "login item: ok"

# 4. Desktops: the header's "New desktop…", then the first row's name field.
press shift+Tab
press Down
press Tab
press Tab
xdotool type --delay 30 "Projects"
press Return
press Tab
wait_for '[w["name"] for w in c["workspaces"]][0] == "Projects" and c["activeWorkspace"] == "Projects"' \
  || fail "Projects is not first and active: $(cat "$config")"
[ -d "$root/Projects" ] && [ ! -e "$root/Default" ] || fail "the folder was not renamed: $(listing "$root")"
[ "$(listing "$HOME/Desktop")" = "one.txt|" ] || fail "the Desktop changed: $(listing "$HOME/Desktop")"
[ -z "$(other_app_windows "$win")" ] || fail "another window is mapped: $(other_app_windows "$win")"
before="$(disk)"
press shift+Tab
xdotool type --delay 30 "_x"
press Return
alert="$(wait_window "Can't do that" 30)" || fail "no window titled Can't do that"
[ "$(disk)" = "$before" ] || fail "something on disk changed on a refused name"
press Return
wait_unmapped "$alert" || fail "Return did not close the alert"
echo "rename: ok"

# 5. Work's "Move to Trash" while the Trash can't be set up (a file stands where it would be):
# the alert says why, the folder stays, and nothing lands in the working directory.
# Projects' chevron, Work's name, Work's chevron, which opens its details; then the colour, the
# type, Archive and the trash button.
for i in 1 2 3; do press Tab; done
press space
for i in 1 2 3 4; do press Tab; done
press space
confirm="$(wait_window 'Move .*Work.* to the Trash.' 30)" || fail "no trash confirmation for Work"
press Return
alert="$(wait_window "Couldn.*t move that desktop to the Trash" 30)" || fail "no alert after a refused trash"
wait_for_log app "the Trash can't be used: " || fail "the refusal does not say why"
press Escape
wait_unmapped "$alert" || fail "Escape did not close the alert"
[ "$(cat "$root/Work/w.txt")" = work ] || fail "Work's folder is gone: $(listing "$root")"
[ -f "$XDG_DATA_HOME/Trash" ] || fail "the file at the Trash's place changed"
[ -z "$(listing "$WORK/cwd")" ] || fail "items landed in the working directory: $(listing "$WORK/cwd")"
wait_for '"Work" in [w["name"] for w in c["workspaces"]]' || fail "Work left the document"
echo "refused trash: ok"
stop_app
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
