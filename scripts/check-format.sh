#!/usr/bin/env bash
# Fails, naming each file, when a C++ source or header of the tree differs from what
# clang-format makes of it with the tree's .clang-format. `--fix` formats them in place instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
tool="${CLANG_FORMAT:-clang-format}"
command -v "$tool" >/dev/null || { echo "check-format: $tool is not installed" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find Sources Tests Benchmarks -name '*.cpp' -o -name '*.h')
if [ "${1:-}" = --fix ]; then
  "$tool" -i "${files[@]}"
  exit 0
fi
differ=0
for f in "${files[@]}"; do
  if ! "$tool" "$f" | cmp -s - "$f"; then
    echo "not formatted: $f" >&2
    differ=$((differ + 1))
  fi
done
echo "format differences: $differ of ${#files[@]} files"
[ "$differ" -eq 0 ]
