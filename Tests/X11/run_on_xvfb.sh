#!/usr/bin/env bash
# Runs the X11 test binary on an Xvfb display of its own.
# Usage: run_on_xvfb.sh PATH_TO_TEST_BINARY [gtest arguments]
set -euo pipefail
for tool in xdotool xprop xset setxkbmap; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
unset QT_QPA_PLATFORM
exec "${BASH_SOURCE[0]%/*}/../Support/own_display.sh" "$@"
