#!/usr/bin/env bash
# Installs the Debian packages listed in the given lists of scripts/ (default: packages.txt, what
# building and running need); skipped when all are present.
# Usage: setup.sh [LIST...]   e.g. setup.sh packages.txt test-packages.txt
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=(packages.txt)
pkgs=()
for list in "${lists[@]}"; do
  mapfile -t -O "${#pkgs[@]}" pkgs < <(grep -vE '^\s*(#|$)' "$here/$list")
done
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
