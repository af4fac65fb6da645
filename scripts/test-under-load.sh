#!/usr/bin/env bash
# Runs the README's test command (scripts/test.sh: both builds, every test) beside a load of one
# busy process per core, as on a machine that is doing other work, then prints the wall time and
# every test that did not pass. The load ends with this script, however it ends. The status is
# scripts/test.sh's. The whole output is kept in build/test-under-load.log.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
log="$root/build/test-under-load.log"
mkdir -p "$root/build"

load=()
suite=
stop_load() {
  local p
  for p in "${load[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${load[@]}"; do wait "$p" 2>/dev/null; done
  load=()
}
# Interrupted, the suite (a process group of its own) ends with the load.
stop_all() {
  [ -n "$suite" ] && kill -- -"$suite" 2>/dev/null
  stop_load
}
trap stop_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

cores="$(nproc)"
for _ in $(seq 1 "$cores"); do
  (while :; do :; done) &
  load+=($!)
done
echo "=== load: $cores busy processes beside the suite"

started=$SECONDS
# In the background, so that a signal reaches this script's traps at once.
setsid bash "$root/scripts/test.sh" >"$log" 2>&1 &
suite=$!
tail -n +1 -f --pid="$suite" "$log" &
shown=$!
status=0
wait "$suite" || status=$?
suite=
wait "$shown"
took=$((SECONDS - started))
stop_load

echo "=== wall time beside the load: $((took / 60)) min $((took % 60)) s (load average now: $(cut -d' ' -f1-3 /proc/loadavg))"
# CTest lists the tests that did not pass after "The following tests FAILED:", one a line.
failed="$(awk '/The following tests FAILED:/ { on = 1; next } on && /^[[:space:]]+[0-9]+ - / { print; next } { on = 0 }' "$log")"
if [ -n "$failed" ]; then
  echo "=== tests that did not pass:"
  echo "$failed"
elif [ "$status" = 0 ]; then
  echo "=== every test passed"
fi
[ "$status" = 0 ] || echo "=== scripts/test.sh failed (status $status)"
exit "$status"
