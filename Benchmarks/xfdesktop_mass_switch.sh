#!/usr/bin/env bash
# How long xfdesktop goes on showing a Desktop of many files after they leave it, and the CPU it
# spends meanwhile, in a real XFCE session on Xvfb (xfce_session_lib.sh): a switch from a desktop
# of N files (5,000 unless told) to one of one file and the switch back (PART "switch"), or, as
# the control, the same files moved away from the Desktop without the application, one rename
# each as a user's tool would (PART "control"), each part in a session of its own, so that what
# xfdesktop still does from one part never counts in another. "Shown" is the first of the pictures of the desktop under the panel, taken every 0.25 s,
# that equals the picture the desktop settles on (unchanged for 3 s with xfdesktop below 5 % of a
# core; a settle waited for 300 s at most unless told). Also counts what the application's own
# switch does to files (strace): renames, files opened for writing (where), extended attributes
# and times set. Prints the figures; asserts nothing.
# Usage: xfdesktop_mass_switch.sh PATH_TO_QUORVANE switch|control [N] [SECONDS A SETTLE MAY TAKE]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../Tests/EndToEnd/xfce_session_lib.sh"
command -v strace >/dev/null || { echo "SKIP: strace is not installed"; exit 77; }
xfce_prepare "$1"
case "${2:-}" in
  switch|control) ;;
  *) echo "usage: $0 PATH_TO_QUORVANE switch|control [N] [SECONDS]"; exit 2 ;;
esac
export PART="$2" COUNT="${3:-5000}" SETTLE_LIMIT="${4:-300}"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$XFCE_LIB"
mkdir -p "$root/.store" "$root/Default" "$root/Work"
python3 - "$HOME/Desktop" "$COUNT" <<'PY'
import os, sys
for i in range(int(sys.argv[2])):
    with open(os.path.join(sys.argv[1], 'note-%05d.txt' % i), 'w') as f:
        f.write('note %d\n' % i)
PY
echo work > "$root/Work/work.txt"
now() { date +%s.%N; }
printf '{"schemaVersion": 1, "activeWorkspace": "Default", "workspaces": [{"name": "Default"}, {"name": "Work", "files": ["work.txt"]}], "settings": {"shownFirstSwitchNote": true, "switchTransition": "none"}}' > "$config"
session_start="$(now)"
start_xfce_session
desktop_window() { xdotool search --onlyvisible --class xfdesktop 2>/dev/null | head -n1; }
within 20 desktop_window >/dev/null || fail "xfdesktop has no window"
host_pid="$(xprop -id "$(desktop_window)" _NET_WM_PID | awk '{print $3}')"
ticks() { awk '{print $14 + $15}' "/proc/$host_pid/stat"; }
hz="$(getconf CLK_TCK)"
picture() { import -window root ppm:- 2>/dev/null | convert - -crop 1280x770+0+30 +repage ppm:- | md5sum | cut -c1-32; }
# settle LABEL START_TIME START_TICKS: pictures until the desktop settles; prints the figures.
settle() {
  local label="$1" start="$2" start_ticks="$3" shots=() times=() last= same_since= t tick busy
  local prev_tick="$start_ticks" prev_t="$start"
  while :; do
    t="$(now)"
    shots+=("$(picture)")
    times+=("$t")
    tick="$(ticks)"
    if [ "${shots[-1]}" != "$last" ]; then last="${shots[-1]}" same_since="$t"; fi
    # xfdesktop's share of a core since the last look.
    busy="$(python3 -c "print(($tick - $prev_tick) / $hz / max($t - $prev_t, 0.01))")"
    prev_tick="$tick" prev_t="$t"
    if python3 -c "import sys; sys.exit(0 if $t - $same_since >= 3 and $busy < 0.05 else 1)"; then break; fi
    if python3 -c "import sys; sys.exit(0 if $t - $start > $SETTLE_LIMIT else 1)"; then
      echo "$label: not settled after $SETTLE_LIMIT s; xfdesktop used $(python3 -c "print(f'{($tick - $start_ticks) / $hz:.2f}')") s of CPU meanwhile" >> "$WORK/figures"
      return
    fi
    sleep 0.25
  done
  local i shown=
  for i in "${!shots[@]}"; do
    [ "${shots[$i]}" = "$last" ] && { shown="${times[$i]}"; break; }
  done
  python3 - "$label" "$start" "$shown" "$start_ticks" "$tick" "$hz" "$t" >> "$WORK/figures" <<'PY'
import sys
label, start, shown, t0, t1, hz, settled = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]), int(sys.argv[6]), float(sys.argv[7])
busy = (t1 - t0) / hz
print(f'{label}: shown after {shown - start:.2f} s; xfdesktop used {busy:.2f} s of CPU until settled '
      f'{settled - start:.2f} s after the start ({100 * busy / max(settled - start, 0.01):.0f} % of a core)')
PY
}
settle "xfdesktop's start with $COUNT files, from the session's start" "$session_start" 0

if [ "$PART" = control ]; then
  # The files moved away by another program, the application never started.
  mkdir -p "$HOME/elsewhere"
  start="$(now)" start_ticks="$(ticks)"
  python3 - "$HOME/Desktop" "$HOME/elsewhere" <<'PY'
import os, sys
for name in os.listdir(sys.argv[1]):
    if name.startswith('note-'):
        os.rename(os.path.join(sys.argv[1], name), os.path.join(sys.argv[2], name))
PY
  settle "the control: $COUNT files renamed away without the application" "$start" "$start_ticks"
  echo PASS > "$WORK/result"
  exit 0
fi
"$APP" > "$WORK/app.log" 2>&1 &
pid=$!
within 30 glyph_centre >/dev/null 2>&1 || fail "the glyph never showed in the panel"
switch_to() { # NAME: asks the running application, waits until the files have moved
  "$APP" --switch-to "$1" >/dev/null 2>&1 || true
  on() { config_holds "c['activeWorkspace'] == '$1'"; }
  within 60 on "$1" || fail "the switch to $1 did not finish"
}
start="$(now)" start_ticks="$(ticks)"
switch_to Work
moved="$(now)"
echo "the application's switch away from $COUNT files: the files moved after $(python3 -c "print(f'{$moved - $start:.2f}')") s" >> "$WORK/figures"
settle "the switch away from $COUNT files" "$start" "$start_ticks"
start="$(now)" start_ticks="$(ticks)"
switch_to Default
settle "the switch back to $COUNT files" "$start" "$start_ticks"

# What the switch does to files, counted under strace (slower, so not timed).
strace -f -qq -o "$WORK/strace.log" -e trace=rename,renameat,renameat2,openat,setxattr,lsetxattr,fsetxattr,utimensat,unlink,unlinkat,mkdir -p "$pid" &
tracer=$!
sleep 1
switch_to Work
sleep 2
kill -INT "$tracer"; wait "$tracer" 2>/dev/null || true
python3 - "$WORK/strace.log" "$HOME" >> "$WORK/figures" <<'PY'
import collections, re, sys
home = sys.argv[2]
counts = collections.Counter()
for line in open(sys.argv[1], errors='replace'):
    m = re.match(r'\d+\s+(\w+)\((.*)', line)
    if not m or '= -1' in line:
        continue
    call, args = m.groups()
    paths = re.findall(r'"([^"]*)"', args)
    where = lambda p: ('Desktop' if '/Desktop' in p else '.store' if '/.store' in p else
                       'xfdesktop config' if '/xfce4/desktop' in p else 'elsewhere')
    if call == 'openat':
        if re.search(r'O_WRONLY|O_RDWR', args):
            counts[f'files opened for writing in {where(paths[0]) if paths else "?"}'] += 1
    elif call.startswith('rename'):
        counts[f'renames out of {where(paths[0]) if paths else "?"}'] += 1
    else:
        counts[f'{call} in {where(paths[0]) if paths else "(by descriptor)"}'] += 1
print('what the strace\'d switch away did to files: ' + ', '.join(f'{n} {k}' for k, n in sorted(counts.items())))
PY
stop_app
echo PASS > "$WORK/result"
SESSION
: > "$WORK/figures"
xfce_run_session "$WORK/session.sh" >/dev/null 2>&1 || { echo "the session did not finish:"; cat "$WORK/figures"; exit 1; }
cat "$WORK/figures"
