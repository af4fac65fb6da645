#!/usr/bin/env bash
# Sets up (the packages building, running and testing need), then builds and runs every test in
# two configurations: Debug with the address and undefined-behaviour sanitizers (build/Debug),
# and Release without them, warnings treated as errors (build/Release). Both suites run even
# when the first fails; the status is a failure when either did. Prints each stage's wall time.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
stage() { echo "=== $1: $(( SECONDS - started )) s"; started=$SECONDS; }
started=$SECONDS
"$root/scripts/setup.sh" packages.txt test-packages.txt
stage "setup"
# Back to back, each with every core.
"$root/scripts/build.sh" Debug -DQUORVANE_TESTS=ON
stage "Debug build"
"$root/scripts/build.sh" Release -DQUORVANE_TESTS=ON -DQUORVANE_WERROR=ON
stage "Release build"
# A slot and a half for each core: a display test holds two, so at most three sessions run for
# every four cores beside the tests without a display (on an idle 8-core machine, six sessions
# at once finished the release build's tests in 132 s, four in 158 s and eight in 128 s).
jobs="${QUORVANE_TEST_JOBS:-$(( $(nproc) * 3 / 2 ))}"
status=0
# The tree's style is checked, not reviewed: a file clang-format would change fails the run.
"$root/scripts/check-format.sh" || status=1
stage "format check"
# Each suite starts from what a new machine has: empty cache, temporary and runtime folders of
# its own, taken away afterwards with whatever a test left running and any mount made in them
# (Tests/Support/own_session.py). Nothing of the user's is touched.
for type in Debug Release; do
  (cd "$root/build/$type" && "$root/Tests/Support/own_session.py" --fresh \
    ctest --output-on-failure --timeout 300 -j "$jobs") || status=1
  stage "$type tests"
done
exit "$status"
