#!/usr/bin/env bash
# What a session leaves running goes with it: a process that ignores SIGTERM, one in a session of
# its own and the document portal its bus started, which mounts its file system in the runtime
# folder. Once own_session.py has returned, none of them runs, nothing is mounted below the
# session's folder and the folder is gone. Usage: own_session_check.sh
set -euo pipefail
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"${BASH_SOURCE[0]%/*}/own_session.py" --bus bash -c '
  echo "$XDG_RUNTIME_DIR" > "$0/runtime"
  (trap "" TERM; exec sleep 600) &
  echo $! >> "$0/pids"
  setsid sh -c "echo \$\$ >> $0/pids; exec sleep 600" &
  dbus-send --session --print-reply --dest=org.freedesktop.portal.Documents /org/freedesktop/portal/documents \
    org.freedesktop.portal.Documents.GetMountPoint > /dev/null 2>&1 || exit 0
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID \
    string:org.freedesktop.portal.Documents | sed -n "s/.*uint32 //p" >> "$0/pids"
  grep -qF " $XDG_RUNTIME_DIR/doc " /proc/self/mountinfo && echo mounted > "$0/portal"' "$out" 2>/dev/null
runtime="$(cat "$out/runtime")"
[ -f "$out/portal" ] && echo "the document portal mounted $runtime/doc" || echo "no document portal to start"
for pid in $(cat "$out/pids"); do
  ! kill -0 "$pid" 2>/dev/null || { echo "FAIL: process $pid outlived its session"; exit 1; }
done
! grep -qF "$runtime" /proc/self/mountinfo || { echo "FAIL: a mount below $runtime outlived its session"; exit 1; }
[ ! -e "$runtime" ] || { echo "FAIL: the session's runtime folder $runtime stayed"; exit 1; }
echo PASS
