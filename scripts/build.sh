#!/usr/bin/env bash
# Configures and builds into build/<type> (type: Release or Debug; Debug adds the sanitizers).
# Further arguments go to CMake (e.g. -DQUORVANE_WERROR=ON).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
type="${1:-Release}"
shift || true
dir="$root/build/$type"
extra=()
[ "$type" = "Debug" ] && extra+=(-DQUORVANE_SANITIZE=ON)
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${extra[@]}" "$@" >/dev/null
cmake --build "$dir" --parallel "${QUORVANE_BUILD_JOBS:-$(nproc)}"
