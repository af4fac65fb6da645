#!/usr/bin/env bash
# The hot corner's arrival-to-dwell delay (run by hand) on an X server of its own.
# Usage: corner_arrival.sh PATH_TO_CornerArrivalBenchmark
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
exec "$here/../Tests/Support/own_display.sh" "$1"
