# Waits for the tests' shell scripts whose limits follow the machine's load. Sourced by
# own_display.sh and EndToEnd/session_lib.sh. Wait.h computes the same factor for the C++ tests.

# How many times longer than on an idle machine a step may take now: 1, and one more for each
# core's worth of runnable work (the larger of the last minute's load average and the tasks
# runnable this moment), at most 6.
slowness() {
  local load runnable cores
  read -r load _ _ runnable _ </proc/loadavg 2>/dev/null || { echo 1; return 0; }
  runnable="${runnable%%/*}"
  load="${load%%.*}"
  [ "$runnable" -gt "$load" ] 2>/dev/null && load="$runnable"
  cores="$(nproc 2>/dev/null || echo 1)"
  local factor=$((1 + load / cores))
  echo $((factor > 6 ? 6 : factor))
}

# Milliseconds from now, as a number to compare with _now_ms.
_now_ms() { local t="${EPOCHREALTIME/./}"; echo $((t / 1000)); }
# "1.5" → 1500.
_ms() {
  local whole="${1%.*}" fraction=0
  [ "$1" != "${1#*.}" ] && fraction="${1#*.}000" && fraction="$((10#${fraction:0:3}))"
  echo $((${whole:-0} * 1000 + fraction))
}

# within SECONDS COMMAND [ARGUMENT...]: runs the command until it succeeds, every tenth of a
# second, for at most SECONDS (fractions allowed) on an idle machine, times slowness() on a
# loaded one. Succeeds as soon as the command does; fails once the limit has passed.
within() {
  local limit="$1"
  shift
  local deadline=$(($(_now_ms) + $(_ms "$limit") * $(slowness)))
  while :; do
    "$@" && return 0
    [ "$(_now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# within_for SECONDS COMMAND...: as within, the command's output printed once it succeeds (the
# command succeeds when it prints something).
within_for() {
  local limit="$1" out
  shift
  local deadline=$(($(_now_ms) + $(_ms "$limit") * $(slowness)))
  while :; do
    out="$("$@" 2>/dev/null || true)"
    [ -n "$out" ] && { echo "$out"; return 0; }
    [ "$(_now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# pause SECONDS: lets a program settle where it offers no state to wait for (a menu that has
# just mapped taking the keyboard); longer on a loaded machine.
pause() { sleep "$(awk -v s="$1" -v f="$(slowness)" 'BEGIN { print s * f }')"; }

# process_gone PID: the process has ended. One whose parent ended before it is reaped by
# whichever process adopts it, and where that one never reaps (the first process of many
# containers) it stays a zombie that kill -0 still finds.
process_gone() {
  local stat
  stat="$(cat "/proc/$1/stat" 2>/dev/null)" || return 0
  stat="${stat##*) }"
  [ "${stat%% *}" = Z ] || [ "${stat%% *}" = X ]
}
