#!/usr/bin/env bash
# Whether memory grows with switches, on a real X display with a tray (run by hand): two
# desktops of 20 items each, the glyph's nudge after every switch, 510 hot-key switches one
# after the other as soon as the files are on the Desktop. Prints the resident set after 10
# and after 510 switches and the growth between them (the bar is under 1 MB).
# Usage: switch_memory.sh PATH_TO_QUORVANE [ANIMATION: nudge|mirror|none]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../Tests/EndToEnd/session_lib.sh"
e2e_prepare "$1"
export ANIMATION="${2:-nudge}"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
mkdir -p "$root/.store" "$root/One" "$root/Two"
for i in $(seq -w 0 19); do
  echo "$i" > "$HOME/Desktop/one-$i.txt"
  echo "$i" > "$root/Two/two-$i.txt"
done
python3 - "$config" "$ANIMATION" <<'PY'
import json, sys
files = lambda p: ["%s-%02d.txt" % (p, i) for i in range(20)]
json.dump({"schemaVersion": 1, "activeWorkspace": "One",
           "workspaces": [{"name": "One", "files": files("one"), "hotkey": {"keyCode": 18, "modifiers": 786432}},
                          {"name": "Two", "files": files("two"), "hotkey": {"keyCode": 19, "modifiers": 786432}}],
           "settings": {"shownFirstSwitchNote": True, "switchTransition": "none", "menuBarAnimation": sys.argv[2]}},
          open(sys.argv[1], "w"))
PY
start_desktop_session
start_app app
sleep 1
shopt -s nullglob
arrived() { local items=("$HOME/Desktop/$1"-*); [ "${#items[@]}" -eq 20 ]; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }

for press in $(seq 1 510); do
  if [ $((press % 2)) -eq 1 ]; then key=ctrl+alt+2 target=two; else key=ctrl+alt+1 target=one; fi
  xdotool key "$key"
  for i in $(seq 1 500); do arrived "$target" && break; sleep 0.01; done
  arrived "$target" || fail "switch $press never arrived"
  sleep 0.05
  [ "$press" -eq 10 ] && { sleep 1.3; early=$(rss_kb); }
done
sleep 1.3 # the last animation ends
late=$(rss_kb)
stop_app
awk -v a="$early" -v b="$late" -v anim="$ANIMATION" 'BEGIN {
  printf "resident set, glyph animation %s: after 10 switches %.1f MiB, after 510 %.1f MiB, growth %+.0f kB (%.1f kB a switch)\n",
         anim, a / 1024, b / 1024, b - a, (b - a) / 500 }'
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
