#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb) with a session bus of its own, so that tests
# that need a display run side by side. The server picks a free display itself (-displayfd) and
# says which once it accepts connections, so launchers started at the same moment never race for
# one number. The server ends with the command; the command's status is this script's.
# The session itself runs as Support/own_session.py runs one.
# Usage: own_display.sh [--screen WxHxD] COMMAND [ARGUMENT...]
# Exits 77 (skipped) without Xvfb or dbus-run-session.
set -u
# The system's own tools first: an interpreter a user's PATH puts ahead (a version manager's
# shim) lacks the system's Python modules and may take seconds to start on a loaded machine.
PATH="/usr/bin:/bin:$PATH"
screen=1024x768x24
if [ "${1:-}" = --screen ]; then
  screen="$2"
  shift 2
fi
for tool in Xvfb dbus-run-session; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

scratch="$(mktemp -d)"
server=
finish() {
  if [ -n "$server" ]; then
    kill -TERM "$server" 2>/dev/null
    wait "$server" 2>/dev/null
  fi
  rm -rf "$scratch"
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

mkfifo "$scratch/display"
# -noreset: by default the server resets whenever its last client leaves, and the reset drops the
# connections still being set up. A session polls with short-lived clients (xwininfo, xprop) while
# its window manager and tray host connect; on a loaded machine one of those polls could be the
# last client, and the window manager or the tray host died of the reset before it started.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$scratch/display" >"$scratch/server.log" 2>&1 &
server=$!
number=
source "${BASH_SOURCE[0]%/*}/wait_lib.sh"
read -r -t $((30 * $(slowness))) number <"$scratch/display" || true
if [ -z "$number" ]; then
  echo "FAIL: the X server did not start"
  cat "$scratch/server.log"
  exit 1
fi
export DISPLAY=":$number"
unset XAUTHORITY
status=0
# What the session leaves (its bus's services, the document portal's mount) goes before the
# server does; the session's runtime folder is its own.
"${BASH_SOURCE[0]%/*}/own_session.py" --bus "$@" || status=$?
exit "$status"
