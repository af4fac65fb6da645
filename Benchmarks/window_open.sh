#!/usr/bin/env bash
# Prints how fast the settings and new-desktop windows first paint in a fresh process, and the
# memory after the settings window was opened and closed, on an Xvfb display.
# Usage: Benchmarks/window_open.sh [BUILD_DIR]   (default build/Release)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/Release}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
unset QT_QPA_PLATFORM
exec "$(cd "$(dirname "${BASH_SOURCE[0]}")/../Tests/Support" && pwd)/own_display.sh" --screen 1280x800x24 "$build/Benchmarks/WindowOpenBenchmark"
