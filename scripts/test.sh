#!/usr/bin/env bash
# Sets up (the packages building, running and testing need), then builds and runs every test in
# two configurations: Debug with the address and undefined-behaviour sanitizers (build/Debug),
# and Release without them, warnings treated as errors (build/Release). Both suites run even
# when the first fails; the status is a failure when either did.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" packages.txt test-packages.txt
# Back to back, each with every core.
"$root/scripts/build.sh" Debug -DQUORVANE_TESTS=ON
"$root/scripts/build.sh" Release -DQUORVANE_TESTS=ON -DQUORVANE_WERROR=ON
jobs="${QUORVANE_TEST_JOBS:-$(nproc)}"
status=0
for type in Debug Release; do
  echo "=== $type"
  (cd "$root/build/$type" && ctest --output-on-failure --timeout 300 -j "$jobs") || status=1
done
exit "$status"
