#!/usr/bin/env bash
# The switch dressed on a real display (Xvfb with a window manager, a tray host and a
# compositing manager) in a temporary home folder, the session's settings in a key file there:
# a covered switch to a dark desktop with a cue, the cover seen while the switch waits in its
# gap; the session turned dark and the cue shown; back to the first desktop, cue gone and the
# user's own light scheme back; two wheel clicks on the tray icon show the scroll display and
# switch once the wheel rests. What the dark desktop borrows of the session comes back: at
# SIGTERM; after a kill -9 (which leaves no "gsettings monitor" child behind) at the next start
# and its switch to the light desktop; and SIGTERM with the first-switch note open ends the
# application within 2 s. On a MATE session: the sweep of a hot-key switch leaves the screen
# outside its band as it was, and a colour cue goes into MATE's background schema and the
# user's values come back. Pictures and the schema's values go to $QUORVANE_TEST_ARTIFACTS.
# Usage: overlays_road.sh PATH_TO_QUORVANE
set -euo pipefail
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
e2e_prepare "$1" xcompmgr xprop gsettings pgrep import convert
export ARTIFACTS="${QUORVANE_TEST_ARTIFACTS:-$WORK/artifacts}"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"
export GSETTINGS_BACKEND=keyfile
gsettings set org.gnome.desktop.interface color-scheme 'prefer-light' \
  || { echo "SKIP: no org.gnome.desktop.interface schema"; exit 77; }
gsettings set org.gnome.desktop.interface gtk-theme 'Adwaita'

root="$HOME/QuorVane Desktops"
mkdir -p "$root/.store" "$root/Default" "$root/Night" "$root/_Hidden Desktop"
echo day > "$HOME/Desktop/day.txt"
echo night > "$root/Night/night.txt"
cat > "$root/.store/config.json" <<'JSON'
{"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [
  {"name": "Default", "files": ["day.txt"], "preferredAppearance": "light"},
  {"name": "Night", "files": ["night.txt"], "preferredAppearance": "dark",
   "cue": {"enabled": true, "fill": {"color": {"_0": "#336699"}}, "opacity": 0.4,
           "aboveIcons": true, "aboveMenuBar": false}},
  {"name": "_Hidden Desktop"}],
 "settings": {"switchTransition": "blur", "moveGapMs": 2000, "shownFirstSwitchNote": true}}
JSON

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
xcompmgr >/dev/null 2>&1 &
within 5 selection_owned _NET_WM_CM_S0 || fail "the compositing manager did not start"
max=4294967295
# True when property $2 of window $1 is $3 of the maximum opacity (to one part in a million).
opacity_is() { python3 -c "import sys; v=int(sys.argv[1]); sys.exit(0 if abs(v/$max-float(sys.argv[2]))<1e-6 else 1)" \
  "$(window_property "$1" _NET_WM_WINDOW_OPACITY)" "$2"; }
scheme() { gsettings get org.gnome.desktop.interface color-scheme; }
theme() { gsettings get org.gnome.desktop.interface gtk-theme; }
users_look() { [ "$(scheme)" = "'prefer-light'" ] && [ "$(theme)" = "'Adwaita'" ]; }
dark_look() { [ "$(scheme)" = "'prefer-dark'" ] && [ "$(theme)" = "'Adwaita-dark'" ]; }
ledger="$HOME/QuorVane Desktops/.store/ledger.json"
# Runs the command until it succeeds, for at most 1.5 s on an idle machine.
eventually() { within 1.5 "$@"; }
# The same for at most 10 s on an idle machine: what a starting application does.
soon() { within 10 "$@"; }
# Whether the window is on every workspace: the sticky state, or the all-workspaces number
# that window managers without that state keep instead.
on_every_workspace() {
  window_property "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_STICKY \
    || [ "$(window_property "$1" _NET_WM_DESKTOP)" = "$max" ]
}

start_app app
sleep 0.5

# 1. The switch to Night, seen in its gap. The cover lives for the 2 s gap only, which a loaded
# machine may spend starting a few commands: one watcher, started before the switch, looks for
# it (one cover, the whole screen, faded in to half opacity, kept below by the window manager
# in its own time) many times a second.
python3 "${E2E_LIB%/*}/window_watch.py" "Quorvane switch cover" 0.5 $((15 * $(slowness))) \
  > "$WORK/cover.txt" 2>&1 &
watcher=$!
choose_from_menu 2
in_gap() { [ ! -e "$HOME/Desktop/day.txt" ] && [ ! -e "$HOME/Desktop/night.txt" ]; }
within 5 in_gap || fail "never saw the switch between moving out and moving in"
wait "$watcher" || fail "the switch cover: $(cat "$WORK/cover.txt")"
kept_below() { window_property "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_BELOW; }
wait_for 'c["activeWorkspace"] == "Night"' || fail "the switch to Night did not finish"
[ "$(listing "$HOME/Desktop")" = "night.txt|" ] || fail "Desktop after the switch: $(listing "$HOME/Desktop")"
within 3 no_viewable_window "Quorvane switch cover" || fail "the cover was still up 3 s after the switch"
echo "covered switch: ok"

# 2. Night's dark scheme and cue.
scheme_is() { [ "$(scheme)" = "$1" ]; }
# The look follows the files: it lands on its own, soon after.
soon scheme_is "'prefer-dark'" || fail "colour scheme after the switch to Night: $(scheme)"
cues="$(viewable_windows "Quorvane desktop cue")"
[ "$(echo "$cues" | grep -c .)" = 1 ] || fail "viewable cue windows: '$cues'"
eventually opacity_is "$cues" 0.4 || fail "cue opacity $(window_property "$cues" _NET_WM_WINDOW_OPACITY)"
eventually kept_below "$cues" || fail "the cue is not kept below"
on_every_workspace "$cues" || fail "the cue is not on every workspace: $(xprop -id "$cues")"
echo "dark scheme and cue: ok"

# 3. Back to Default: no cue, the user's own light scheme.
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch back to Default did not finish"
within 3 no_viewable_window "Quorvane desktop cue" || fail "a cue is still shown on Default"
soon scheme_is "'prefer-light'" || fail "colour scheme back on Default: $(scheme)"
within 3 no_viewable_window "Quorvane switch cover" || true
echo "back to the light scheme: ok"

# 4. Two wheel clicks down on the tray icon: the scroll display, then the switch to Night.
wait_tray_icon_settled
read -r x y <<<"$(tray_icon_centre)"
xdotool mousemove "$x" "$y"
sleep 0.2
# The display lives half a second after the last click: a watcher started before the clicks
# looks for it many times a second, as for the cover.
python3 "${E2E_LIB%/*}/window_watch.py" "Quorvane scroll" any $((3 * $(slowness))) "$WORK/watching" \
  > "$WORK/scroll.txt" 2>&1 &
watcher=$!
within 10 test -e "$WORK/watching" || fail "the window watcher did not start"
# Both clicks from one program, 0.1 s apart, well within the pause that ends a scroll.
xdotool click --repeat 2 --delay 100 5
wait "$watcher" || fail "no scroll display after the wheel clicks: $(cat "$WORK/scroll.txt")"
wait_for 'c["activeWorkspace"] == "Night"' || fail "scrolling did not switch to Night"
within 4 no_viewable_window "Quorvane scroll" || fail "the scroll display stayed on screen"
echo "scroll cycling: ok"

# 5. SIGTERM on the dark desktop: the user's scheme and theme come back.
soon dark_look || fail "look on Night: $(scheme) $(theme)"
[ -f "$ledger" ] || fail "the user's look is not kept in the store"
stop_app
users_look || fail "look after SIGTERM on Night: $(scheme) $(theme)"
[ ! -e "$ledger" ] || fail "the ledger stayed after everything came back: $(cat "$ledger")"
echo "the user's look back at SIGTERM: ok"

# 6. Started again on Night, which turns dark again; a kill -9 leaves its monitor no child.
start_app app2
soon dark_look || fail "look after starting on Night: $(scheme) $(theme)"
monitors="$(pgrep -P "$pid" -f 'gsettings monitor' || true)"
[ -n "$monitors" ] || fail "no gsettings monitor child to watch"
kill -KILL "$pid"
wait "$pid" || true
for m in $monitors; do
  eventually process_gone "$m" || fail "gsettings monitor $m outlived the application"
done
dark_look || fail "look after kill -9: $(scheme) $(theme)"
echo "kill -9 leaves no monitor: ok"

# 7. The next start gives the look back and shows Night's again; the switch to the light
# desktop leaves the user's own. SIGTERM with the first-switch note open ends it within 2 s.
json_set='import json,sys; c=json.load(open(sys.argv[1])); c["settings"]["shownFirstSwitchNote"]=False; json.dump(c,open(sys.argv[1],"w"))'
python3 -c "$json_set" "$config"
start_app app3
soon dark_look || fail "look after starting on Night again: $(scheme) $(theme)"
choose_from_menu 1
wait_for 'c["activeWorkspace"] == "Default"' || fail "the switch to Default did not finish"
soon users_look || fail "look on the light desktop after the crash: $(scheme) $(theme)"
note_open() { [ -n "$(alert_windows)" ]; }
soon note_open || fail "the first-switch note did not open"
kill -TERM "$pid"
ended() { ! kill -0 "$pid" 2>/dev/null; }
within 2 ended || fail "SIGTERM with the first-switch note open did not end the application within 2 s"
wait "$pid" || fail "the application did not quit cleanly with the note open"
users_look || fail "look after SIGTERM with the note open: $(scheme) $(theme)"
[ ! -e "$ledger" ] || fail "the ledger stayed: $(cat "$ledger")"
echo "SIGTERM with the note open: ok"

# 8. A MATE session (its background schema in the key file) under the compositing manager: each
# hot-key switch sweeps a band across the screen, and every picture taken during the sweep
# equals the one before the switch outside a band's width; Tint's colour cue below the icons
# goes into MATE's background schema, in values the schema accepts, and the user's own values
# come back at the switch away and at SIGTERM.
mate_keys="picture-filename picture-options primary-color color-shading-type"
mate_values() { local key; for key in $mate_keys; do echo "$key $(gsettings get org.mate.background "$key")"; done; }
gsettings set org.mate.background picture-filename "'$HOME/Pictures/hills.jpg'" \
  || fail "no org.mate.background schema"
gsettings set org.mate.background picture-options "'zoom'"
gsettings set org.mate.background primary-color "'#102030'"
gsettings set org.mate.background color-shading-type "'vertical-gradient'"
users_background="$(mate_values)"
band=256 # a fifth of the screen's width
python3 - "$config" "$band" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
ctrl_alt = 786432
for w in c["workspaces"]:
    if w["name"] == "Default":
        w["hotkey"] = {"keyCode": 3, "modifiers": ctrl_alt}  # Ctrl+Alt+F
c["workspaces"].append({"name": "Tint", "files": [], "hotkey": {"keyCode": 2, "modifiers": ctrl_alt},  # Ctrl+Alt+D
                        "cue": {"enabled": True, "fill": {"color": {"_0": "#CC3300"}}, "opacity": 1.0,
                                "aboveIcons": False, "aboveMenuBar": False}})
s = c["settings"]
for derived in ("switchLook", "switchSpeed", "switchIntensity"):
    s.pop(derived, None)
s.update({"switchTransition": "sweep", "sweepDurationMs": 4000, "sweepStartDelayMs": 0, "moveGapMs": 0,
          "sweepBandFraction": int(sys.argv[2]) / 1280, "sweepAngleDegrees": 0, "shownFirstSwitchNote": True})
json.dump(c, open(sys.argv[1], "w"))
PY
mkdir -p "$root/Tint"
XDG_CURRENT_DESKTOP=MATE start_app app-mate
[ "$(json 'c["activeWorkspace"]')" = Default ] || fail "the MATE run starts on $(json 'c["activeWorkspace"]')"
# Whether every picture of the sweep $1 equals the picture before it outside one band: below the
# tray host's strip, the columns that differ span at most the band's width. Prints each
# picture's band; fails as well when no picture caught the band.
band_only() {
  local frame
  for frame in "$ARTIFACTS/$1"-*.png; do convert "$frame" -depth 8 ppm:"$WORK/$(basename "${frame%.png}").ppm"; done
  python3 - "$WORK/$1-before.ppm" "$band" "$WORK/$1"-[0-9]*.ppm <<'PY'
import sys
def read(path):
    data = open(path, 'rb').read()
    parts = data.split(maxsplit=4)
    return int(parts[1]), int(parts[2]), parts[4]
w, h, before = read(sys.argv[1])
band, seen, ok = int(sys.argv[2]), 0, True
for path in sys.argv[3:]:
    fw, fh, px = read(path)
    if (fw, fh) != (w, h):
        print(f"{path}: {fw}x{fh}, not {w}x{h}"); ok = False; continue
    columns = set()
    for y in range(30, h):
        row = y * w * 3
        a, b = before[row:row + w * 3], px[row:row + w * 3]
        if a != b:
            columns.update(x for x in range(w) if a[3 * x:3 * x + 3] != b[3 * x:3 * x + 3])
    name = path.rsplit('/', 1)[-1].replace('.ppm', '.png')
    if not columns:
        print(f"{name}: all as before"); continue
    seen += 1
    span = max(columns) - min(columns) + 1
    within = span <= band + 2
    print(f"{name}: differs over columns {min(columns)}-{max(columns)} ({span} px):",
          "elsewhere as before" if within else f"wider than the {band} px band")
    ok = ok and within
sys.exit(0 if ok and seen else 1)
PY
}
# Pictures of the screen while the sweep's window is up, $1-1.png, $1-2.png, ... (of the root
# window as the compositing manager draws it).
sweep_pictures() {
  local n=0
  within 3 not no_viewable_window "Quorvane switch sweep" || fail "no sweep window after the hot key"
  while ! no_viewable_window "Quorvane switch sweep" && [ "$n" -lt 16 ]; do
    n=$((n + 1))
    import -window root "$ARTIFACTS/$1-$n.png" || fail "no picture of the screen"
  done
}
import -window root "$ARTIFACTS/sweep-to-tint-before.png"
xdotool key ctrl+alt+d
sweep_pictures sweep-to-tint
wait_for 'c["activeWorkspace"] == "Tint"' || fail "Ctrl+Alt+D did not switch to Tint"
band_only sweep-to-tint || fail "a picture of the sweep to Tint differs from the one before it outside the band"
echo "the sweep outside its band shows what is beneath: ok"
shows_tint() {
  [ "$(gsettings get org.mate.background primary-color)" = "'#CC3300'" ] \
    && [ "$(gsettings get org.mate.background color-shading-type)" = "'solid'" ] \
    && [ "$(gsettings get org.mate.background picture-filename)" = "''" ]
}
soon shows_tint || fail "MATE's background on Tint: $(mate_values)"
mate_values > "$ARTIFACTS/mate-background-on-tint.txt"
[ "$(gsettings get org.mate.background picture-options)" = "'zoom'" ] \
  || fail "a value outside the schema's range, or one the cue needs not: $(mate_values)"
users_background_back() { [ "$(mate_values)" = "$users_background" ]; }
# The sweep runs its 4 s whatever the switch's own end; the picture before the next one waits
# for its window to go, or it holds the band where it was then.
within 6 no_viewable_window "Quorvane switch sweep" || fail "the sweep to Tint's window outlived its sweep"
import -window root "$ARTIFACTS/sweep-to-default-before.png"
xdotool key ctrl+alt+f
sweep_pictures sweep-to-default
wait_for 'c["activeWorkspace"] == "Default"' || fail "Ctrl+Alt+F did not switch back to Default"
band_only sweep-to-default || fail "a picture of the sweep to Default differs from the one before it outside the band"
soon users_background_back || fail "MATE's background back on Default: $(diff <(echo "$users_background") <(mate_values))"
echo "MATE's background takes the colour cue and gives the user's back: ok"
xdotool key ctrl+alt+d
wait_for 'c["activeWorkspace"] == "Tint"' || fail "Ctrl+Alt+D did not switch to Tint again"
soon shows_tint || fail "MATE's background on Tint again: $(mate_values)"
stop_app
users_background_back || fail "MATE's background after SIGTERM on Tint: $(diff <(echo "$users_background") <(mate_values))"
[ ! -e "$ledger" ] || fail "the ledger stayed after SIGTERM on Tint: $(cat "$ledger")"
mate_values > "$ARTIFACTS/mate-background-after-quit.txt"
echo "MATE's background back at SIGTERM: ok"

echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
