#!/usr/bin/env bash
# Configures and builds into build/<type> (type: Release or Debug; Debug adds the sanitizers).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
type="${1:-Release}"
dir="$root/build/$type"
extra=()
[ "$type" = "Debug" ] && extra+=(-DQUORVANE_SANITIZE=ON)
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${extra[@]}" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
