#!/usr/bin/env bash
# Prints figures of the tree's shape (not a test; nothing here fails the build), each list with
# file:line: public functions of each controller object, public fields of classes (the
# callbacks, public std::function fields, apart), process-wide objects (function-local statics,
# namespace-scope variables, static data members), friend classes, catch (...) clauses,
# includes that run up a layer, and files that differ from .clang-format. The counting is in
# scripts/code_figures.py (its test: Tests/Scripts/code_figures_test.py). An argument names
# another tree to count (its Sources/ and Tests/); the format check is only this tree's.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
python3 "$root/scripts/code_figures.py" "${1:-$root}"
[ $# -eq 0 ] || exit 0
cd "$root"
if command -v "${CLANG_FORMAT:-clang-format}" >/dev/null; then
  bash scripts/check-format.sh 2>/dev/null | tail -n1 || true
else
  echo "format differences: clang-format is not installed"
fi
