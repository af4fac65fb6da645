#!/usr/bin/env bash
# How long a hot key takes beyond the switch itself, on a real X display with a compositing
# manager (run by hand): two desktops of 100 items each, 20 presses alternating between their
# hot keys, once for each transition: none, the cover with its default 260 ms fade-in, the
# cover with a 2,000 ms fade-in, and the sweep. Per press: from just before the key is sent
# until the last of the target's items lies on the Desktop (the files' wait), and that less
# the switch's own time from its "switched … in Nms" log line (what the hot key and the
# transition add). Prints the median and the worst of each (the bar is under 50 ms added
# without a transition; the cover's fade-in must not hold the files back), and the median of
# each phase of a press, from the debug lines of the press and of the switch: how long xdotool
# ran (its start and the key sent), from before xdotool until the grab's event reached the
# application, from there to the switch's start (the hot key's handler), both to whole
# milliseconds of the log's times, then the switch's guards and their loads, the cover, the
# pre-switch sweeps, the cue, the appearance switch (its child processes), the engine, the
# refresh after it (menu, settings) and the rest (the glyph, the dock, the visit stamp when it
# did not go with the engine's save). A transition named with "+dressed" runs with cue + dark +
# positions: each desktop a cue below the icons and a mode of its own (light, dark) on GNOME's
# keys, on a pcmanfm desktop that keeps every item's position; a transition run both ways is
# printed as a pair, the files' median wait without and with, and their difference (the bar:
# the same within 50 ms).
# Usage: hotkey_switch.sh PATH_TO_QUORVANE [TRANSITION[:FADE_IN_MS][+dressed]]...
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../Tests/EndToEnd/session_lib.sh"
app="$1"
shift
[ $# -gt 0 ] || set -- none blur blur:2000 sweep none+dressed
case " $* " in
*+dressed*) e2e_prepare "$app" xcompmgr pcmanfm gsettings ;;
*) e2e_prepare "$app" xcompmgr ;;
esac

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
rm -rf "$root" "$HOME/Desktop"/*
mkdir -p "$root/.store" "$root/One" "$root/Two" "$XDG_CONFIG_HOME/pcmanfm/default"
for i in $(seq -w 0 99); do
  echo "$i" > "$HOME/Desktop/one-$i.txt"
  echo "$i" > "$root/Two/two-$i.txt"
done
python3 - "$config" "$TRANSITION" "$FADE_IN_MS" "$DRESSED" "$XDG_CONFIG_HOME/pcmanfm/default/desktop-items-0.conf" \
  "$root/Two/.icon-positions.json" <<'PY'
import json, sys
files = lambda p: ["%s-%02d.txt" % (p, i) for i in range(100)]
one = {"name": "One", "files": files("one"), "hotkey": {"keyCode": 18, "modifiers": 786432}}
two = {"name": "Two", "files": files("two"), "hotkey": {"keyCode": 19, "modifiers": 786432}}
if sys.argv[4] == "1":
    cue = lambda color: {"enabled": True, "fill": {"color": {"_0": color}}, "opacity": 1.0,
                         "aboveIcons": False, "aboveMenuBar": False}
    one.update(preferredAppearance="light", cue=cue("#336699"))
    two.update(preferredAppearance="dark", cue=cue("#993366"))
    # Every item has its place: One's in the desktop's store, Two's in its folder.
    place = lambda i: (20 + (i % 10) * 110, 20 + (i // 10) * 70)
    with open(sys.argv[5], "w") as store:
        store.write("[*]\nwallpaper_mode=color\ndesktop_bg=#102030\n\n")
        for i, name in enumerate(files("one")):
            store.write("[%s]\nx=%d\ny=%d\n\n" % ((name,) + place(i)))
    json.dump({"pcmanfm/default": {name: dict(zip("xy", place(i))) for i, name in enumerate(files("two"))}},
              open(sys.argv[6], "w"))
json.dump({"schemaVersion": 1, "activeWorkspace": "One", "workspaces": [one, two],
           "settings": {"shownFirstSwitchNote": True, "switchTransition": sys.argv[2],
                        "switchFadeInMs": int(sys.argv[3])}},
          open(sys.argv[1], "w"))
PY
start_desktop_session
xcompmgr >/dev/null 2>&1 &
if [ "$DRESSED" = 1 ]; then
  gsettings set org.gnome.desktop.interface color-scheme 'prefer-light'
  gsettings set org.gnome.desktop.interface gtk-theme 'Adwaita'
  has_desktop_window() {
    local w
    for w in $(xdotool search --onlyvisible --class pcmanfm 2>/dev/null || true); do
      window_property "$w" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DESKTOP && return 0
    done
    return 1
  }
  pcmanfm --desktop >/dev/null 2>&1 &
  within 5 has_desktop_window || fail "pcmanfm's desktop window never showed"
fi
# The press's arrival and the switch's phases come as debug lines.
QT_LOGGING_RULES="quorvane.hotkeys.debug=true;*.swap.debug=true" start_app app
sleep 1
# The wall clock in milliseconds, into NOW, without starting a process.
now_ms() { local t="${EPOCHREALTIME/[.,]/}"; NOW=$(( t / 1000 )); }
# All hundred of a desktop's items on the Desktop (builtins only, so a poll costs next to nothing).
shopt -s nullglob
arrived() { local items=("$HOME/Desktop/$1"-*); [ "${#items[@]}" -eq 100 ]; }

: > "$WORK/latencies"
: > "$WORK/waits"
: > "$WORK/phases"
for press in $(seq 1 20); do
  if [ $((press % 2)) -eq 1 ]; then key=ctrl+alt+2 target=two; else key=ctrl+alt+1 target=one; fi
  now_ms; start=$NOW
  xdotool key "$key"
  now_ms; sent=$(( NOW - start ))
  until arrived "$target"; do
    now_ms
    [ $(( NOW - start )) -lt 10000 ] || fail "press $press never arrived"
  done
  now_ms; took=$(( NOW - start ))
  # The switch's own time, from its log line (the press-th one), and its phases.
  for i in $(seq 1 100); do
    [ "$(grep -c 'switch phases' "$WORK/app.log")" -ge "$press" ] && break
    sleep 0.02
  done
  own=$(grep -o 'switched .* in [0-9]*ms' "$WORK/app.log" | sed -n "${press}p" | sed -E 's/.* in ([0-9]+)ms/\1/')
  [ -n "$own" ] || fail "no switched line for press $press"
  echo "$(( took - own ))" >> "$WORK/latencies"
  echo "$took" >> "$WORK/waits"
  line=$(grep 'switch phases' "$WORK/app.log" | sed -n "${press}p")
  [ -n "$line" ] || fail "no switch phases line for press $press"
  pressed=$(grep 'hot key pressed' "$WORK/app.log" | sed -n "${press}p")
  [ -n "$pressed" ] || fail "no hot key pressed line for press $press"
  # The line's time less the phases' sum is when the switch began.
  logged=$(date -u -d "${line%% *}" +%s%3N)
  arrival=$(date -u -d "${pressed%% *}" +%s%3N)
  echo "${line#*switch phases (ms): }" | awk -v logged="$logged" -v start="$start" -v sent="$sent" -v arrival="$arrival" '{
    total = 0; for (i = 2; i <= NF; i += 2) total += $i
    printf "%d %d %.1f", sent, arrival - start, logged - total - arrival; for (i = 2; i <= NF; i += 2) printf " %s", $i; print "" }' >> "$WORK/phases"
  [ -s "$WORK/phase-names" ] || echo "${line#*switch phases (ms): }" | awk '{ for (i = 1; i <= NF; i += 2) printf " %s", $i; print "" }' > "$WORK/phase-names"
  sleep 0.2
done
stop_app
summary() { sort -n "$1" | awk '{ v[NR] = $1 } END {
  median = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
  printf "median %.1f ms, worst %d ms", median, v[NR] }'; }
echo "hot key, $LOOK (fade-in $FADE_IN_MS ms), 20 presses: files on the Desktop $(summary "$WORK/waits");" \
  "beyond the switch itself $(summary "$WORK/latencies")"
# The median of each column (the log's times are whole milliseconds).
read -r -a names <<< "xdotool-ran to-the-grab grab-to-switch $(cat "$WORK/phase-names")"
breakdown="  phases (median ms):"
for i in "${!names[@]}"; do
  breakdown+=" ${names[$i]} $(cut -d' ' -f$((i + 1)) "$WORK/phases" | sort -g | awk '{ v[NR] = $1 } END {
    printf "%.1f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')"
done
echo "$breakdown"
sort -n "$WORK/waits" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }' \
  > "$WORK/files-median.$LOOK"
echo PASS > "$WORK/result"
SESSION
export GSETTINGS_BACKEND=keyfile
for look in "$@"; do
  export LOOK="$look" DRESSED=0
  [ "${look%+dressed}" = "$look" ] || { DRESSED=1; look="${look%+dressed}"; }
  export TRANSITION="${look%%:*}" FADE_IN_MS=260
  [ "$look" = "${look#*:}" ] || FADE_IN_MS="${look#*:}"
  rm -f "$WORK/result"
  e2e_run_session "$WORK/session.sh"
done
for look in "$@"; do
  plain="$WORK/files-median.${look%+dressed}" dressed="$WORK/files-median.${look%+dressed}+dressed"
  [ "${look%+dressed}" != "$look" ] && [ -f "$plain" ] && [ -f "$dressed" ] || continue
  echo "paired, ${look%+dressed}: files on the Desktop median $(cat "$plain") ms without cue + dark + positions," \
    "$(cat "$dressed") ms with them: difference $(awk -v a="$(cat "$plain")" -v b="$(cat "$dressed")" 'BEGIN { printf "%+.1f", b - a }') ms"
done
