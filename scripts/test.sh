#!/usr/bin/env bash
# Sets up, builds (with address and undefined-behaviour sanitizers) and runs every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" Debug
cd "$root/build/Debug"
ctest --output-on-failure --timeout 300 -j "$(nproc)"
