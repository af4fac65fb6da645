#!/usr/bin/env bash
# The AppStream metainfo passes appstreamcli's pedantic validation (two hints aside: the
# identifier, which is the desktop entry's name and so has capitals, and the release history,
# which the project does not keep there), launches the desktop entry it names, and shows
# pictures that the looks road takes.
# Usage: metainfo.sh METAINFO DESKTOP_ENTRY LOOKS_ROAD
set -euo pipefail
metainfo="$1" entry="$2" road="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export HOME="$work" XDG_CACHE_HOME="$work/cache"

status=0
appstreamcli validate --pedantic --no-net --no-color "$metainfo" > "$work/report.txt" 2>&1 || status=$?
cat "$work/report.txt"
[ "$status" -eq 0 ] || fail "appstreamcli validate --pedantic failed ($status)"
while read -r level _ tag _; do
  case "${level%:}:$tag" in
    P:cid-contains-uppercase-letter | P:releases-info-missing) ;;
    [EWIP]:*) fail "appstreamcli reports $level $tag" ;;
  esac
done < "$work/report.txt"

field() { python3 - "$metainfo" "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
for node in root.findall(sys.argv[2]):
    print((node.text or "").strip(), node.get("type") or "")
PY
}
id="$(field id | cut -d' ' -f1)"
[ "$id.desktop" = "$(basename "$entry")" ] || fail "the identifier $id is not the desktop entry's name $(basename "$entry")"
[ "$(field launchable)" = "$(basename "$entry") desktop-id" ] || fail "the launchable is not the desktop entry: $(field launchable)"
[ -n "$(field project_license)" ] || fail "no project licence"
[ "$(field content_rating | cut -d' ' -f2)" = oars-1.1 ] || fail "no OARS content rating"
mapfile -t images < <(field screenshots/screenshot/image | cut -d' ' -f1)
[ "${#images[@]}" -ge 1 ] || fail "no screenshots"
for image in "${images[@]}"; do
  case "$image" in https://*.png) ;; *) fail "screenshot $image is not a PNG picture on the web" ;; esac
  picture="$(basename "$image" .png)"
  grep -qE "(^|[^-[:alnum:]])$picture(\$|[^-[:alnum:]])" "$road" || fail "the looks road takes no picture $picture"
done
echo "PASS: $id, ${#images[@]} screenshots"
