#!/usr/bin/env bash
# Runs a test binary on a private X display (Xvfb, no window manager) with the xcb platform,
# so the tests that need X11 run for real. Exits 77 (skipped) without Xvfb.
set -u
binary="$1"
shift
export QT_QPA_PLATFORM=xcb
exec "${BASH_SOURCE[0]%/*}/own_display.sh" "$binary" "$@"
