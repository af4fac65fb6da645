# Waits for the tests' shell scripts whose limits follow the machine's load. Sourced by
# own_display.sh and EndToEnd/session_lib.sh. Wait.h computes the same factor for the C++ tests.

# The waits below poll often and side by side in many sessions: they start no process of their
# own (no subshell, no sleep, no nproc), each of which costs milliseconds on a busy machine.
# Counted once for a whole session: the scripts it starts find the count in the environment.
_wait_cores="${QUORVANE_WAIT_CORES:-$(nproc 2>/dev/null || echo 1)}"
export QUORVANE_WAIT_CORES="$_wait_cores"
# A pipe that never brings anything, read with a time limit: a pause without a process.
exec {_wait_idle_fd}<> <(:)

# How many times longer than on an idle machine a step may take now: 1, and one more for each
# core's worth of runnable work (the larger of the last minute's load average and the tasks
# runnable this moment), at most 6. _slowness sets SLOWNESS; slowness prints it.
_slowness() {
  local load runnable
  SLOWNESS=1
  read -r load _ _ runnable _ </proc/loadavg 2>/dev/null || return 0
  runnable="${runnable%%/*}"
  load="${load%%.*}"
  [ "$runnable" -gt "$load" ] 2>/dev/null && load="$runnable"
  SLOWNESS=$((1 + load / _wait_cores))
  [ "$SLOWNESS" -le 6 ] || SLOWNESS=6
}
slowness() { _slowness; echo "$SLOWNESS"; }

# "1.5" → 1500, into MS.
_to_ms() {
  local whole="${1%.*}" fraction=0
  [ "$1" != "${1#*.}" ] && fraction="${1#*.}000" && fraction="$((10#${fraction:0:3}))"
  MS=$((${whole:-0} * 1000 + fraction))
}
# _nap SECONDS: sleeps without starting a process.
_nap() { read -r -t "$1" -u "$_wait_idle_fd" _ || true; }
# Sets _deadline to SECONDS on an idle machine from now, times slowness() on a loaded one.
_deadline_in() {
  local t="${EPOCHREALTIME/./}"
  _slowness
  _to_ms "$1"
  _deadline=$((t / 1000 + MS * SLOWNESS))
}
_before_deadline() { local t="${EPOCHREALTIME/./}"; [ $((t / 1000)) -lt "$_deadline" ]; }

# within SECONDS COMMAND [ARGUMENT...]: runs the command until it succeeds, every tenth of a
# second, for at most SECONDS (fractions allowed) on an idle machine, times slowness() on a
# loaded one. Succeeds as soon as the command does; fails once the limit has passed.
within() {
  local _deadline
  _deadline_in "$1"
  shift
  while :; do
    "$@" && return 0
    _before_deadline || return 1
    _nap 0.1
  done
}

# within_for SECONDS COMMAND...: as within, the command's output printed once it succeeds (the
# command succeeds when it prints something).
within_for() {
  local _deadline out
  _deadline_in "$1"
  shift
  while :; do
    out="$("$@" 2>/dev/null || true)"
    [ -n "$out" ] && { echo "$out"; return 0; }
    _before_deadline || return 1
    _nap 0.1
  done
}

# pause SECONDS: lets a program settle where it offers no state to wait for (a menu that has
# just mapped taking the keyboard); longer on a loaded machine.
pause() {
  _slowness
  _to_ms "$1"
  local ms=$((MS * SLOWNESS)) fraction
  printf -v fraction '%03d' $((ms % 1000))
  _nap "$((ms / 1000)).$fraction"
}

# process_gone PID: the process has ended. One whose parent ended before it is reaped by
# whichever process adopts it, and where that one never reaps (the first process of many
# containers) it stays a zombie that kill -0 still finds.
process_gone() {
  local stat
  stat="$(cat "/proc/$1/stat" 2>/dev/null)" || return 0
  stat="${stat##*) }"
  [ "${stat%% *}" = Z ] || [ "${stat%% *}" = X ]
}
