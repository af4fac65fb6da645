#!/usr/bin/env bash
# How fast the application's icon docks and how much memory it holds, beside the least Qt tray
# application built the same way (MinimalTray), on an Xvfb display with a window manager and a
# tray host. Prints figures; asserts nothing.
#   1. start to icon docked (the X server's own events, see StartProbe) and the resident set 3 s
#      later, in PAIRS pairs taken in turn (application, yardstick, application, ...): each one's
#      min / median / max and the median of the pairs' ratios;
#   2. the resident set (and its private, file and shared parts) before the settings window opens,
#      with it open and after it closed, twice;
#   3. with ITEMS items on each of two desktops: the start, the resident set after start, after the
#      first and after ten switches, and each switch's time as the application logs it; then the
#      first switch of a second launch.
# Usage: Benchmarks/start_and_memory.sh [BUILD_DIR] [PAIRS] [ITEMS]
#   (default build/Release, 15 pairs, 50000 items; ITEMS 0 leaves part 3 out). The build needs the
#   tests' programs (the display probe) and the benchmarks. QT_QPA_PLATFORMTHEME, when set, is
#   the platform theme both programs start with.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "${1:-$here/../build/Release}" && pwd)"
source "$here/../Tests/EndToEnd/session_lib.sh"
e2e_prepare "$build/Sources/QuorvaneApp/quorvane"
export PAIRS="${2:-15}" ITEMS="${3:-50000}" PROBE="$build/Benchmarks/quorvane-start-probe"
export YARDSTICK="$build/Benchmarks/quorvane-minimal-tray"
for tool in "$PROBE" "$YARDSTICK"; do
  [ -x "$tool" ] || { echo "FAIL: no $tool (the benchmarks are built with the application)"; exit 1; }
done

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
start_desktop_session
# "min median max" of the numbers on standard input.
spread() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print "n/a"; exit }
  m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
  printf "%.1f / %.1f / %.1f\n", v[1], m, v[NR] }'; }
median() { spread | awk -F' / ' '{ print $2 }'; }
rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status"; }
# The resident set with its parts: private (the heap, the stacks), the files' pages (code and
# fonts, shared with other programs and taken back by the kernel when it needs them) and shared
# memory (the X server's drawing buffers).
rss_parts() { awk '/^VmRSS:/ { r = $2 } /^RssAnon:/ { a = $2 } /^RssFile:/ { f = $2 } /^RssShmem:/ { s = $2 }
  END { printf "%.1f (private %.1f, files %.1f, shared %.1f)", r / 1024, a / 1024, f / 1024, s / 1024 }' "/proc/$pid/status"; }

# 1. Start to icon docked, and the resident set once started, in pairs. The first start of each
# (the document written, the caches read) is not counted.
"$PROBE" quorvane "$APP" >/dev/null 2>&1 || fail "the application's icon never docked"
"$PROBE" quorvane-minimal-tray "$YARDSTICK" >/dev/null 2>&1 || fail "the yardstick's icon never docked"
for ((i = 0; i < PAIRS; i++)); do
  a="$("$PROBE" quorvane "$APP" 2>/dev/null)" || fail "the application's icon never docked"
  b="$("$PROBE" quorvane-minimal-tray "$YARDSTICK" 2>/dev/null)" || fail "the yardstick's icon never docked"
  echo "$a $b" >> "$WORK/pairs"
done
{
  echo "start to icon docked, ms (min / median / max, $PAIRS pairs in turn):"
  echo "  application $(awk '{ print $2 }' "$WORK/pairs" | spread)"
  echo "  minimal tray $(awk '{ print $6 }' "$WORK/pairs" | spread)"
  echo "  ratio, median of the pairs: $(awk '{ print $2 / $6 }' "$WORK/pairs" | spread | awk -F' / ' '{ print $2 }')"
  echo "resident set 3 s after the start, MB:"
  echo "  application $(awk '{ print $4 / 1024 }' "$WORK/pairs" | spread)"
  echo "  minimal tray $(awk '{ print $8 / 1024 }' "$WORK/pairs" | spread)"
} >> "$WORK/figures"

# 2. The settings window: a plain second start shows it, Escape closes it. An instance that ends
# on the way is said, and the figures go on without it.
settings_round() {
  "$APP" >/dev/null 2>&1 || { line+=", the second start failed"; return 1; }
  win="$(wait_window "Quorvane Settings" 100)" || { line+=", no window ($(process_ended "$pid" && echo "the instance ended" || echo "none shown"))"; return 1; }
  sleep 2
  line+=", $1 open $(rss_parts)"
  xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
  xdotool key Escape
  wait_unmapped "$win" || { line+=", the window did not close"; return 1; }
  sleep 2
  line+=", closed $(rss_parts)"
}
start_app settings
wait_for_log settings "the command line reaches this instance" || fail "the instance did not take the command line"
sleep 3
line="settings window, resident set MB: before $(rss_parts)"
settings_round first && settings_round second || true
echo "$line" >> "$WORK/figures"
if process_ended "$pid"; then wait "$pid" || true; else stop_app; fi

# 3. Two desktops of ITEMS items each.
if [ "$ITEMS" -gt 0 ]; then
  mkdir -p "$root/.store" "$root/One" "$root/Two"
  rm -f "$HOME/Desktop/"* "$config"
  python3 - "$config" "$ITEMS" "$HOME/Desktop" "$root/Two" <<'PY'
import json, os, sys
config, count, desktop, two = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
names = lambda p: ["%s-%06d.txt" % (p, i) for i in range(count)]
for folder, prefix in ((desktop, "one"), (two, "two")):
    for name in names(prefix):
        open(os.path.join(folder, name), "w").close()
json.dump({"schemaVersion": 1, "activeWorkspace": "One",
           "workspaces": [{"name": "One", "files": names("one")}, {"name": "Two", "files": names("two")}],
           "settings": {"shownFirstSwitchNote": True, "switchTransition": "none", "menuBarAnimation": "none"}},
          open(config, "w"))
PY
  big="$("$PROBE" --settle 0 quorvane "$APP" 2>/dev/null)" || fail "the icon never docked with $ITEMS items"
  start_app big
  wait_for_log big "the command line reaches this instance" || fail "the instance did not take the command line"
  sleep 3
  line="$ITEMS items a desktop: icon docked after $(echo "$big" | awk '{ print $2 }') ms; resident set MB: after start $(rss_mb)"
  for ((n = 1; n <= 10; n++)); do
    if [ $((n % 2)) -eq 1 ]; then target=Two; else target=One; fi
    "$APP" --switch-to "$target" >/dev/null 2>&1 || fail "switch $n to $target was refused"
    within 120 log_holds big "→ $target in" "$(((n + 1 - (n % 2 == 0)) / 2))" || fail "switch $n to $target did not end"
    sleep 1
    [ "$n" -eq 1 ] && line+=", after the first switch $(rss_mb)"
  done
  line+=", after ten $(rss_mb)"
  echo "$line" >> "$WORK/figures"
  grep -o 'switched [^ ]* → [^ ]* in [0-9]*ms' "$WORK/big.log" | sed -E 's/.* in ([0-9]+)ms/\1/' > "$WORK/switches"
  stop_app
  # The first switch of a second launch: what the application builds at each launch, without
  # what the file system does once for a folder that never held as many items (an ext4
  # directory keeps the blocks it grew to).
  start_app again
  wait_for_log again "the command line reaches this instance" || fail "the second instance did not take the command line"
  sleep 3
  "$APP" --switch-to Two >/dev/null 2>&1 || fail "the switch after the relaunch was refused"
  within 120 log_holds again "→ Two in" || fail "the switch after the relaunch did not end"
  again="$(grep -o 'switched [^ ]* → [^ ]* in [0-9]*ms' "$WORK/again.log" | sed -E 's/.* in ([0-9]+)ms/\1/')"
  {
    echo "  switch times, ms: $(tr '\n' ' ' < "$WORK/switches")"
    echo "  first switch $(head -n1 "$WORK/switches") ms (into a folder new to so many), the later ones' median $(tail -n +2 "$WORK/switches" | median) ms"
    echo "  first switch after a relaunch $again ms"
  } >> "$WORK/figures"
  stop_app
fi
echo PASS > "$WORK/result"
SESSION
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
(e2e_run_session "$WORK/session.sh") || status=$?
cat "$WORK/figures"
exit "$status"
