#!/usr/bin/env bash
# Sets up, builds, installs into build/install (with the application's desktop entry, which
# gives it its identity) and starts the application.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" Release
cmake --install "$root/build/Release" --prefix "$root/build/install" >/dev/null
exec "$root/build/install/bin/quorvane" "$@"
