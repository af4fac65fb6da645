#!/usr/bin/env bash
# What one hot-key switch costs in document input and output, on a real X display (run by hand):
# two desktops of 10 items each, 10 presses alternating between their hot keys, the application
# traced by strace. Per press, from the press until the switch's log line and the refresh after
# it: how often config.json is opened for reading, how often it is replaced (written), how often
# the journal is written, and the flushes to the device. Prints the median of each. Then the
# same counts per switch and per settings setter (setOverlaysMuted) with its refresh, of the
# controller run in process by DocumentIoHarness (the target: one read at most, and only the
# engine's writes: the document twice and the journal once, six flushes, per switch; one
# write per setter).
# Usage: document_io.sh PATH_TO_QUORVANE [PATH_TO_DocumentIoHarness]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
harness="$(realpath "${2:-$(dirname "$1")/../../Benchmarks/DocumentIoHarness}")"
source "$here/../Tests/EndToEnd/session_lib.sh"
e2e_prepare "$1" strace
# The application, traced: every open, rename and flush of it and its threads.
real="$APP"
export APP="$WORK/traced"
printf '#!/bin/sh\nexec strace -f -qq -e trace=openat,rename,renameat,renameat2,fsync,fdatasync -o "%s" "%s" "$@"\n' \
  "$WORK/trace" "$real" > "$APP"
chmod +x "$APP"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
rm -rf "$root" "$HOME/Desktop"/*
mkdir -p "$root/.store" "$root/One" "$root/Two"
for i in $(seq -w 0 9); do
  echo "$i" > "$HOME/Desktop/one-$i.txt"
  echo "$i" > "$root/Two/two-$i.txt"
done
python3 - "$config" <<'PY'
import json, sys
files = lambda p: ["%s-%d.txt" % (p, i) for i in range(10)]
json.dump({"schemaVersion": 1, "activeWorkspace": "One",
           "workspaces": [{"name": "One", "files": files("one"), "hotkey": {"keyCode": 18, "modifiers": 786432}},
                          {"name": "Two", "files": files("two"), "hotkey": {"keyCode": 19, "modifiers": 786432}}],
           "settings": {"shownFirstSwitchNote": True}},
          open(sys.argv[1], "w"))
PY
start_desktop_session
start_app app
sleep 2
: > "$WORK/counts"
for press in $(seq 1 10); do
  if [ $((press % 2)) -eq 1 ]; then key=ctrl+alt+2; else key=ctrl+alt+1; fi
  before=$(wc -l < "$WORK/trace")
  xdotool key "$key"
  wait_for_log app "switched " "$press" || fail "press $press did not switch"
  sleep 1 # the refresh after the switch
  tail -n +"$((before + 1))" "$WORK/trace" > "$WORK/press"
  reads=$(grep -c 'openat(.*config\.json", O_RDONLY' "$WORK/press" || true)
  writes=$(grep -cE 'rename.*config\.json"' "$WORK/press" || true)
  journal=$(grep -cE 'rename.*journal\.json"' "$WORK/press" || true)
  flushes=$(grep -cE 'fsync\(|fdatasync\(' "$WORK/press" || true)
  echo "$reads $writes $journal $flushes" >> "$WORK/counts"
done
pkill -TERM -P "$pid" # the application under strace
wait "$pid" || true
median() { cut -d' ' -f"$1" "$WORK/counts" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "one hot-key switch of 10+10 items (median of 10): config.json read $(median 1) times, written $(median 2)," \
  "journal written $(median 3), $(median 4) flushes"
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"

strace -f -qq -e trace=openat,rename,renameat,renameat2,fsync,fdatasync -o "$WORK/harness-trace" "$harness" \
  || { echo "FAIL: DocumentIoHarness"; exit 1; }
python3 - "$WORK/harness-trace" <<'PY'
import re, statistics, sys
rounds = {"switch": [], "setter": []}
current = None
for line in open(sys.argv[1]):
    mark = re.search(r'/\.mark-(\w+)"', line)
    if mark:
        current = rounds.get(mark.group(1))
        if current is not None:
            current.append([0, 0, 0, 0])
        continue
    if current is None:
        continue
    counts = current[-1]
    counts[0] += bool(re.search(r'openat\(.*config\.json", O_RDONLY', line))
    counts[1] += bool(re.search(r'rename.*config\.json"', line))
    counts[2] += bool(re.search(r'rename.*journal\.json"', line))
    counts[3] += bool(re.search(r'fsync\(|fdatasync\(', line))
for name, what in (("switch", "one switch of 10+10 items"), ("setter", "one setOverlaysMuted")):
    median = [statistics.median(column) for column in zip(*rounds[name])]
    print("%s by the controller in process (median of %d): config.json read %g times, written %g, "
          "journal written %g, %g flushes" % (what, len(rounds[name]), *median))
PY
