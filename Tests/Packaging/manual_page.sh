#!/usr/bin/env bash
# The manual page renders without a warning from man or groff, names every option that the
# program's --help lists, and --version prints the project's version.
# Usage: manual_page.sh PATH_TO_QUORVANE PATH_TO_PAGE VERSION
set -euo pipefail
app="$1" page="$2" version="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export LC_ALL=C.UTF-8 MANWIDTH=80 HOME="$work" ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
unset MANPAGER PAGER

man --warnings -E UTF-8 -l -Tutf8 -Z "$page" > /dev/null 2> "$work/man.err" || fail "man -l failed: $(cat "$work/man.err")"
[ ! -s "$work/man.err" ] || fail "man -l warns: $(cat "$work/man.err")"
groff -man -ww -z "$page" 2> "$work/groff.err" || fail "groff failed: $(cat "$work/groff.err")"
[ ! -s "$work/groff.err" ] || fail "groff warns: $(cat "$work/groff.err")"
man -l "$page" > "$work/page.txt" 2> "$work/man.err" || fail "man -l failed: $(cat "$work/man.err")"
grep -q "Quorvane $version" "$work/page.txt" || fail "the page does not name version $version"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' FILES SESSIONS; do
  grep -qx "$section" "$work/page.txt" || fail "the page has no section $section"
done

"$app" --version > "$work/version.txt" 2>&1 || fail "--version failed: $(cat "$work/version.txt")"
[ "$(cat "$work/version.txt")" = "quorvane $version" ] || fail "--version printed: $(cat "$work/version.txt")"

"$app" --help > "$work/help.txt" 2>&1 || fail "--help failed: $(cat "$work/help.txt")"
mapfile -t options < <(grep -oE -- '(^|[^-[:alnum:]])--?[a-z][a-z-]*' "$work/help.txt" | grep -oE -- '--?[a-z][a-z-]*' | sort -u)
[ "${#options[@]}" -ge 7 ] || fail "--help lists only ${options[*]}"
for option in "${options[@]}"; do
  grep -qE -- "(^|[^-[:alnum:]])$option(\$|[^-[:alnum:]])" "$work/page.txt" || fail "the page does not name $option"
done
# Each exit status that --help names is explained.
for status in 0 1 2 3; do
  grep -qE "^ +$status +[A-Z]" "$work/page.txt" || fail "the page does not explain exit status $status"
done
echo "PASS: ${options[*]}"
