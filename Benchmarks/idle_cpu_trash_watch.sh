#!/usr/bin/env bash
# Prints the processor time the application takes while idle: installed as the home's per-user
# install (so the Trash watch of its executable is on), docked in a tray host on an Xvfb
# display, no hot corner set, over 30 seconds. The target is 0 ticks.
# Usage: Benchmarks/idle_cpu_trash_watch.sh [PATH_TO_QUORVANE]   (default build/Release's)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
app="${1:-$root/build/Release/Sources/QuorvaneApp/quorvane}"
source "$root/Tests/EndToEnd/session_lib.sh"
e2e_prepare "$app"
mkdir -p "$HOME/.local/bin" "$HOME/.local/share/applications"
mv "$APP" "$HOME/.local/bin/quorvane"
mv "$WORK/prefix/share/applications/app.quorvane.Quorvane.desktop" "$HOME/.local/share/applications/"
export APP="$HOME/.local/bin/quorvane" SECONDS_IDLE="${SECONDS_IDLE:-30}"

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
start_desktop_session
start_app app
# Let the start-up settle (the first paint, the deferred first calls) before measuring.
sleep 3
grep -q 'Quorvane .* launched' "$WORK/app.log" || fail "no launch line"
# The watch holds the executable open.
ls -l "/proc/$pid/fd" | grep -qF -- "-> $APP" || fail "the executable is not watched"
first="$(ticks)"
sleep "$SECONDS_IDLE"
last="$(ticks)"
stop_app
echo "idle over ${SECONDS_IDLE} s: $((last - first)) ticks ($(getconf CLK_TCK) ticks a second), Trash watch on"
echo PASS > "$WORK/result"
SESSION
e2e_run_session "$WORK/session.sh"
