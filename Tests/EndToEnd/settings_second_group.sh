#!/usr/bin/env bash
# The settings window's Advanced and Experimental sections on a real X display with a window manager
# (on its third workspace) and a tray host, in a temporary home folder, driven by keyboard as a user
# would (settings_first_group.sh pictures every section): a name rule made in Advanced sorts the
# matching files into its desktop with "Sort now"; in Experimental the photosensitivity warning
# guards "Follow workspaces", and "Bind" ties a desktop to the workspace shown, moving the binding
# when another desktop takes it.
# Usage: settings_second_group.sh PATH_TO_QUORVANE PATH_TO_WINDOW_GRAB
set -euo pipefail
app="$1"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$app" xprop md5sum wmctrl
export GRAB="$2" ARTIFACTS="${QUORVANE_TEST_ARTIFACTS:-$WORK/artifacts}"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

# "Default" active with three files on the Desktop, "Work", "Receipts" and the blank desktop.
root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Work" "$root/Receipts" "$root/_Hidden Desktop"
echo notes > "$HOME/Desktop/notes.txt"
echo march > "$HOME/Desktop/invoice-march.pdf"
echo old > "$HOME/Desktop/Old INVOICE.txt"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [{"name": "Default", "files": ["Old INVOICE.txt", "invoice-march.pdf", "notes.txt"]},
                {"name": "Work"}, {"name": "Receipts", "type": "permanent"}, {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true}}
JSON

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session 2
start_app app
rule() { json "[(f.get('enabled', True), f.get('pattern', ''), f.get('collection', '')) for f in c['settings'].get('customFilters', [])]"; }
space_of() { json "[w.get('spaceUUID') for w in c['workspaces'] if w['name'] == '$1'][0]"; }
follow() { json "c['settings'].get('followSpaces', False)"; }

open_settings() {
  choose_from_menu_end 2
  win="$(wait_window 'Quorvane Settings' 50)" || fail "no window titled Quorvane Settings within 5 s"
  wait_window_active "$win" || fail "the settings window did not take the keyboard"
}

# 1. Advanced, the eighth section: a rule sorting invoices into Receipts. From the sidebar the
# page starts with "Filter screenshots into a collection", then "Sort files by name into desktops".
open_settings
for i in $(seq 1 7); do press Down; done
press Tab
press Tab
press space
wait_for 'c["settings"].get("customFiltersEnabled") == True' || fail "Sort files by name into desktops is not on"
# "Sort automatically on desktop changes", "Sort now shortcut", then "Add rule".
press Tab
press Tab
press Tab
press space
wait_for 'len(c["settings"].get("customFilters", [])) == 1' || fail "no rule after Add rule: $(cat "$config")"
[ "$(rule)" = "[(True, '', '')]" ] || fail "the new rule reads $(rule)"
# The focus is in the new rule's word field.
xdotool type --delay 30 "invoice"
press Return
wait_for '[f.get("pattern") for f in c["settings"]["customFilters"]] == ["invoice"]' || fail "the word is not stored: $(rule)"
# The destination menu: the live desktops in order, Receipts third.
press Tab
press space
press Down
press Down
press Down
press Return
wait_for '[f.get("collection") for f in c["settings"]["customFilters"]] == ["Receipts"]' || fail "the rule's desktop is not Receipts: $(rule)"
[ "$(rule)" = "[(True, 'invoice', 'Receipts')]" ] || fail "the rule reads $(rule)"
# The rule's trash button, "Add rule", then "Sort now".
press Tab
press Tab
press Tab
press space
invoices_sorted() { [ -e "$root/Receipts/invoice-march.pdf" ] && [ -e "$root/Receipts/Old INVOICE.txt" ]; }
within 3 invoices_sorted || true
[ "$(listing "$root/Receipts")" = "Old INVOICE.txt|invoice-march.pdf|" ] || fail "Receipts holds $(listing "$root/Receipts")"
[ "$(listing "$HOME/Desktop")" = "notes.txt|" ] || fail "the Desktop holds $(listing "$HOME/Desktop")"
[ -z "$(other_app_windows "$win")" ] || fail "another window is mapped: $(other_app_windows "$win")"
echo "sort by name: ok"

# 2. Experimental, reopened: the warning guards following; Bind ties a desktop to workspace 3.
press alt+F4
wait_unmapped "$win" || fail "Alt+F4 did not close the settings window"
open_settings
for i in $(seq 1 8); do press Down; done
# "Choose…", then "Follow workspaces".
press Tab
press Tab
press space
sheet="$(wait_window 'Photosensitivity warning' 30)" || fail "no Photosensitivity warning"
press Escape
wait_unmapped "$sheet" || fail "Escape did not close the warning"
[ "$(follow)" = False ] || fail "followSpaces turned on after Escape"
press space
sheet="$(wait_window 'Photosensitivity warning' 30)" || fail "no Photosensitivity warning the second time"
press Return
wait_for 'c["settings"].get("followSpaces") == True' || fail "followSpaces is not on after Return"
wait_unmapped "$sheet" || fail "Return did not close the warning"
wait_for_log app "following workspaces" || fail "the application does not follow the workspaces"
wait_window_active "$win" || fail "the settings window did not take the keyboard back"
# The bindings: Default's "Bind", then Work's.
press Tab
press Tab
press space
wait_for '[w.get("spaceUUID") for w in c["workspaces"] if w["name"] == "Work"] == ["ewmh-desktop-2"]' \
  || fail "Work is bound to $(space_of Work)"
# Work's button now reads "Bound to this workspace" and is disabled: the focus moved on to the next
# one, Receipts' "Bind".
press space
wait_for '[w.get("spaceUUID") for w in c["workspaces"] if w["name"] == "Receipts"] == ["ewmh-desktop-2"]' \
  || fail "Receipts is bound to $(space_of Receipts)"
[ "$(space_of Work)" = None ] || fail "Work is still bound to $(space_of Work)"
picture "$win" experimental-bound
echo "follow and bind: ok"
stop_app
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
