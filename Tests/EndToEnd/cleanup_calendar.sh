#!/usr/bin/env bash
# The cleanup calendar and its reminder on a real X display with a window manager, a tray host,
# a compositing manager and a session bus whose notification server starts on the first call,
# in a temporary home folder and in UTC: "Cleanup calendar" from the status menu maps the
# 700-wide window of that name showing the archived desktop's circle in its colour; Escape
# unmaps it and choosing the item twice gives one window; the cleanup reminder arrives once, at
# its minute, silently, with the desktop's name. With MODE "muted", a start with reminders muted
# posts none at that minute.
# The reminders are set in whole minutes of the wall clock: the application runs on a clock set
# ahead (faketime, which leaves the program itself alone) so that its reminder falls due a few
# seconds after it starts instead of at the next real minute.
# Usage: cleanup_calendar.sh PATH_TO_QUORVANE [sounding|muted]
set -euo pipefail
app="$1"
export MODE="${2:-sounding}"
source "${BASH_SOURCE[0]%/*}/session_lib.sh"
source "${BASH_SOURCE[0]%/*}/clock_ahead_lib.sh"
e2e_prepare "$app" dbus-monitor dunst xcompmgr xwd faketime
clock_ahead_find
export TZ=UTC

cat > "$WORK/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
source "$E2E_LIB"
source "${E2E_LIB%/*}/clock_ahead_lib.sh"
start_desktop_session
xcompmgr >/dev/null 2>&1 &
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
  > "$WORK/notify.log" 2>&1 &

# Writes the document: "Work" active, "Old" archived unsorted in magenta, one cleanup task for
# "Old" dated the start of the fire minute's day, reminders at that minute. $1: fire time
# (seconds since the epoch), $2: muted (true or false).
write_document() {
  mkdir -p "$root/.store" "$root/Work" "$root/Archive/Old" "$root/_Hidden Desktop"
  python3 - "$config" "$1" "$2" "$root/Archive/Old" <<'PY'
import json, sys
path, fire, muted, archived = sys.argv[1], int(sys.argv[2]), sys.argv[3] == "true", sys.argv[4]
reference = 978307200
day_start = fire - fire % 86400
minutes = (fire % 86400) // 60
json.dump({
    "activeWorkspace": "Work",
    "workspaces": [
        {"name": "Work", "files": []},
        {"name": "Old", "files": [], "state": "archivedUnsorted", "colorHex": "#FF00FF",
         "archiveLocation": archived, "archivedAt": day_start - reference - 86400},
        {"name": "_Hidden Desktop", "files": []},
    ],
    "cleanupTasks": [{"id": "5F1D7A2C-3B4E-4C6D-9E8F-0A1B2C3D4E5F", "members": ["Old"],
                      "date": day_start - reference}],
    "settings": {"shownFirstSwitchNote": True, "cleanupNotifyMinutes": minutes,
                 "cleanupNotifySound": False, "muteCleanupNotifications": muted},
}, open(path, "w"))
PY
}
# The application's clock runs ahead of the real one so that a whole minute of its own falls $1
# seconds from now (fire on its clock, due on the real one); starts the application as $2 on
# that clock.
start_app_before_reminder() {
  clock_ahead_plan "$1"
  write_document "$fire" "$([ "$MODE" = muted ] && echo true || echo false)"
  clock_ahead_app "$WORK/ahead.sh"
  APP="$WORK/ahead.sh" start_app "$2"
}
notify_calls() { grep -c 'member=Notify' "$WORK/notify.log" || true; }
# The menu: "Work", the disabled unsorted count, "Hide current desktop", "New desktop…",
# "Cleanup calendar".
open_calendar() { choose_from_menu 4; }
calendar_windows() { xdotool search --onlyvisible --name '^Cleanup calendar$' 2>/dev/null | wc -l; }

if [ "$MODE" = muted ]; then
  # A start with reminders muted posts nothing, at the minute or after.
  start_app_before_reminder 8 app
  # Time passes on purpose: past the minute, and as long after it as a posted reminder could take.
  while [ "$EPOCHSECONDS" -lt $(( due + 15 )) ]; do _nap 1; done
  [ "$(notify_calls)" = 0 ] || fail "a muted reminder was posted: $(cat "$WORK/notify.log")"
  stop_app
  echo "muted: ok"
  echo PASS > "$WORK/result"
  exit 0
fi

# 1. The document, then the application, its reminder due after the calendar's checks.
start_app_before_reminder 30 app

# 2. The calendar window: named, 700 wide, the task's magenta circle on its grid.
open_calendar
win="$(wait_window 'Cleanup calendar' 50)" || fail "no window named Cleanup calendar"
width="$(xwininfo -id "$win" | sed -n 's/ *Width: //p')"
[ "$width" = 700 ] || fail "the calendar is $width wide"
# Whether the window shows a pixel of the archived desktop's magenta (once it has painted).
shows_magenta() {
  xwd -id "$win" -silent > "$WORK/calendar.xwd" || return 1
  python3 - "$WORK/calendar.xwd" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
fields = struct.unpack(">25I", data[:100])
header_size, depth, byte_order, bpp, bytes_per_line, ncolors = fields[0], fields[3], fields[7], fields[11], fields[12], fields[19]
red, green, blue = fields[14], fields[15], fields[16]
width, height = fields[4], fields[5]
pixels = data[header_size + ncolors * 12:]
step = bpp // 8
order = "<" if byte_order == 0 else ">"
def shift(mask):
    return (mask & -mask).bit_length() - 1
found = False
for y in range(height):
    row = pixels[y * bytes_per_line:(y + 1) * bytes_per_line]
    for x in range(width):
        value = int.from_bytes(row[x * step:(x + 1) * step], "little" if order == "<" else "big")
        if ((value & red) >> shift(red), (value & green) >> shift(green), (value & blue) >> shift(blue)) == (255, 0, 255):
            found = True
            break
    if found:
        break
sys.exit(0 if found else 1)
PY
}
within 5 shows_magenta || fail "no #FF00FF pixel in the calendar window"
echo "calendar window: ok"

# Escape unmaps it; the item chosen twice gives one window.
win="$(wait_window 'Cleanup calendar' 10)" || fail "the calendar went away"
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key Escape
wait_unmapped "$win" || fail "Escape left the calendar open"
open_calendar
wait_window 'Cleanup calendar' 50 >/dev/null || fail "the calendar did not open again"
open_calendar
# Time passes on purpose: a second window would map within it.
pause 1
[ "$(calendar_windows)" = 1 ] || fail "$(calendar_windows) calendar windows"
echo "one window: ok"

# 3. The reminder, once, at its minute, silent: waited for until 15 s past its minute, then time
# passes on purpose for a second one to show.
reminder_posted() { log_holds notify 'member=Notify' || [ "$EPOCHSECONDS" -ge $(( due + 15 )) ]; }
until reminder_posted; do _nap 0.2; done
pause 2
[ "$(notify_calls)" = 1 ] || fail "$(notify_calls) Notify calls: $(cat "$WORK/notify.log")"
grep -q 'string "Desktop cleanup"' "$WORK/notify.log" || fail "no title: $(cat "$WORK/notify.log")"
grep -q 'string "“Old” is still waiting to be sorted."' "$WORK/notify.log" || fail "no body: $(cat "$WORK/notify.log")"
grep -q 'string "suppress-sound"' "$WORK/notify.log" || fail "not silent: $(cat "$WORK/notify.log")"
stamp="$(sed -n 's/.*method call time=\([0-9]*\)\..*member=Notify.*/\1/p' "$WORK/notify.log" | head -n1)"
[ -n "$stamp" ] && [ "$stamp" -ge $(( due - 1 )) ] && [ "$stamp" -le $(( due + 15 )) ] \
  || fail "Notify at $stamp, the reminder was due at $due"
stop_app
echo "reminder: ok"
echo PASS > "$WORK/result"
SESSION
e2e_run_session_on_bus "$WORK/session.sh"
