# Reminders are set in whole minutes of the wall clock: a road that waits for one runs the
# application on a clock set ahead (faketime, preloaded into the application alone) so that its
# reminder falls due seconds after it starts instead of at the next real minute. Sourced by the
# test script (clock_ahead_find) and by its session script (clock_ahead_plan, clock_ahead_app).

# Sets and exports FAKETIME_LIB, or skips (77) without libfaketime.
clock_ahead_find() {
  FAKETIME_LIB="$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n1)"
  [ -n "$FAKETIME_LIB" ] || { echo "SKIP: libfaketime is not installed"; exit 77; }
  export FAKETIME_LIB
}

# clock_ahead_plan SECONDS: a whole minute of the application's clock that falls SECONDS from
# now on the real one. Sets fire (that minute, seconds since the epoch on the application's
# clock), due (the same moment on the real clock, which the bus monitor stamps) and ahead.
clock_ahead_plan() {
  local now
  now="$EPOCHSECONDS"
  fire=$(( (now + $1 + 60) / 60 * 60 ))
  ahead=$(( fire - now - $1 ))
  due=$(( fire - ahead ))
}

# clock_ahead_app WRAPPER: writes an executable WRAPPER that runs $APP on the clock
# clock_ahead_plan set.
clock_ahead_app() {
  # The sanitizers' runtime must not insist on being loaded first, ahead of the clock's. Only the
  # clock is set ahead, not the files' times (NO_FAKE_STAT): with those shifted every font folder
  # looked changed, and each start rewrote the machine's font caches that every other program
  # of the suite then scanned again, under the caches' file locks.
  cat > "$1" <<AHEAD
#!/bin/sh
export LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+${ahead}s" FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1
export ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
exec "$APP" "\$@"
AHEAD
  chmod +x "$1"
}
