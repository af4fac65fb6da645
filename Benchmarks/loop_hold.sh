#!/usr/bin/env bash
# The longest the event loop is held around a switch, measured inside the application (a probe
# timer's lateness, LoopHoldHarness): a plain switch; one with cue + dark + positions on XFCE's
# settings daemon, on GNOME's keys, on a GIO metadata host with 100 arriving items and on a
# pcmanfm desktop; and a 10,000-item switch. Each on a session bus of its own. Then the openat
# calls under /proc per switch (strace), on the pcmanfm desktop, the one host found in /proc, and
# under GNOME's keys, where none runs: the application's own and those of the tools it runs.
# Prints, never asserts.
# Usage: loop_hold.sh BUILD_DIR [ROUNDS]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
harness="$1/Benchmarks/LoopHoldHarness"
rounds="${2:-10}"
[ -x "$harness" ] || { echo "no $harness (configure with -DQUORVANE_TESTS=ON)" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
on_bus() { "$here/../Tests/Support/run_on_private_bus.sh" "$@" 2> >(grep -v "fd limit" >&2); }
on_bus "$harness" plain "$rounds" 100
for scenario in xfconf gnome gio pcmanfm; do
  on_bus "$harness" "$scenario" "$rounds" 100
done
on_bus "$harness" plain 4 10000
if command -v strace >/dev/null 2>&1; then
  trace="$(mktemp)"
  trap 'rm -f "$trace"' EXIT
  # Twice, with 2 and with 12 switches: the difference is what 10 switches open, the harness's
  # launch and its end left out. The application's own opens apart from those of the tools it
  # runs (a process that executed a program after the harness's own start).
  count() {
    on_bus strace -f -qq -e trace=openat,execve -o "$trace" "$harness" "$1" "$2" 10 >/dev/null
    awk 'match($0, /^[0-9]+/) { pid = substr($0, 1, RLENGTH) }
         /execve\(/ { if (started++) tool[pid] = 1 }
         /openat\(.*"\/proc\// { if (pid in tool) tools++; else own++ }
         END { print own + 0, tools + 0 }' "$trace"
  }
  for scenario in pcmanfm gnome; do
    read -r fewOwn fewTools < <(count "$scenario" 2)
    read -r manyOwn manyTools < <(count "$scenario" 12)
    echo "openat calls under /proc per switch, $scenario: $(awk -v a="$fewOwn" -v b="$manyOwn" 'BEGIN { printf "%.1f", (b - a) / 10 }')" \
      "by the application, $(awk -v a="$fewTools" -v b="$manyTools" 'BEGIN { printf "%.1f", (b - a) / 10 }') by the tools it runs"
  done
fi
