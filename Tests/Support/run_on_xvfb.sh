#!/usr/bin/env bash
# Runs a test binary on a private X display (Xvfb, no window manager) with the xcb platform,
# so the tests that need X11 run for real. Exits 77 (skipped) without Xvfb.
set -u
command -v xvfb-run >/dev/null 2>&1 || exit 77
binary="$1"
shift
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 1024x768x24" "$binary" "$@"
