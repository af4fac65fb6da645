#!/usr/bin/env bash
# Sets up (the packages building and running need), builds (without the tests) and installs into
# build/install (with the application's desktop entry, which gives it its identity) and starts
# the application.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" packages.txt
"$root/scripts/build.sh" Release -DQUORVANE_TESTS=OFF
cmake --install "$root/build/Release" --prefix "$root/build/install" >/dev/null
exec "$root/build/install/bin/quorvane" "$@"
