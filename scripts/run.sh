#!/usr/bin/env bash
# Sets up, builds and starts the application.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" Release
exec "$root/build/Release/Sources/QuorvaneApp/quorvane" "$@"
