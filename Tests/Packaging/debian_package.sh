#!/usr/bin/env bash
# `cpack -G DEB` of the build makes the package: its control fields, its runtime dependencies
# (the linked libraries' packages and the tools the application runs, never a -dev package),
# no maintainer script (neither an install nor a removal touches a home folder), and its files,
# all under /usr: the executable, the desktop entry, the icons, the metainfo and the manual page.
# The package is built into a temporary folder and only unpacked there, never installed.
# Usage: debian_package.sh BUILD_FOLDER VERSION
set -euo pipefail
build="$1" version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export HOME="$work/home" LC_ALL=C.UTF-8 ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
mkdir -p "$HOME"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack -G DEB failed"; }
arch="$(dpkg --print-architecture)"
deb="$work/out/quorvane_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$work/out"; fail "no quorvane_${version}_${arch}.deb"; }
dpkg-deb -I "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quorvane ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "architecture $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[ -n "$(field Description)" ] || fail "no description"

# One dependency a line, alternatives kept together, versions dropped.
names() { field "$1" | tr ',' '\n' | sed -E 's/\([^)]*\)//g; s/^ +//; s/ +$//' | sed '/^$/d'; }
depends="$(names Depends)"
echo "Depends: $(echo "$depends" | paste -sd' ')"
[ -z "$(echo "$depends" | sort | uniq -d)" ] || fail "Depends names twice: $(echo "$depends" | sort | uniq -d)"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libqt6svg6 libxcb1 libxcb-xinput0 libglib2.0-bin \
  gsettings-desktop-schemas 'default-dbus-session-bus | dbus-session-bus'; do
  echo "$depends" | grep -qxF -- "$package" || fail "Depends lacks $package"
done
for relation in Depends Recommends; do
  if names "$relation" | tr '|' '\n' | sed 's/ //g' | grep -E -- '-dev$'; then
    fail "$relation names a development package"
  fi
done
# Every runtime package of the project's list that the application needs is a Depends or a
# Recommends; the build's own (compilers, -dev packages, icons compiled in) are neither.
wanted="$(names Depends; names Recommends)"
for package in libglib2.0-bin gsettings-desktop-schemas dconf-cli qt6-wayland qt6-gtk-platformtheme \
  fonts-dejavu-core; do
  echo "$wanted" | grep -qxF -- "$package" || fail "neither Depends nor Recommends names $package"
done
for package in build-essential cmake ninja-build pkg-config adwaita-icon-theme; do
  ! echo "$wanted" | grep -qxF -- "$package" || fail "$package is a build package, not a runtime one"
done

# The control archive holds the fields and the checksums, and no script.
dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | sed '/^$/d' | sort > "$work/control.txt"
[ "$(paste -sd' ' "$work/control.txt")" = "control md5sums" ] || fail "control archive holds: $(paste -sd' ' "$work/control.txt")"

dpkg-deb -c "$deb" | tee "$work/contents.txt"
awk '{print $6}' "$work/contents.txt" | sed 's|^\./|/|' | sed '/\/$/d' | sort > "$work/files.txt"
cat > "$work/expected.txt" <<LIST
/usr/bin/quorvane
/usr/share/applications/app.quorvane.Quorvane.desktop
/usr/share/icons/hicolor/scalable/apps/app.quorvane.Quorvane.svg
/usr/share/man/man1/quorvane.1.gz
/usr/share/metainfo/app.quorvane.Quorvane.metainfo.xml
/usr/share/quorvane/icons/hicolor/scalable/status/app.quorvane.Quorvane-status-symbolic.svg
LIST
sort -o "$work/expected.txt" "$work/expected.txt"
diff "$work/expected.txt" "$work/files.txt" || fail "the package's files are not the expected ones"
grep -E ' \./usr/bin/quorvane$' "$work/contents.txt" | grep -q '^-rwxr-xr-x root/root' \
  || fail "/usr/bin/quorvane is not an executable owned by root"
if awk '{print $2}' "$work/contents.txt" | grep -v '^root/root$'; then fail "a file not owned by root"; fi

# Unpacked, the files are what the distribution's tools accept, and the program runs.
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/quorvane" --version | grep -qx "quorvane $version" || fail "the packaged program's --version"
desktop-file-validate "$work/root/usr/share/applications/app.quorvane.Quorvane.desktop" > "$work/entry.txt" 2>&1 \
  || { cat "$work/entry.txt"; fail "desktop-file-validate failed"; }
[ ! -s "$work/entry.txt" ] || { cat "$work/entry.txt"; fail "desktop-file-validate warns"; }
appstreamcli validate --no-net --no-color "$work/root/usr/share/metainfo/app.quorvane.Quorvane.metainfo.xml" \
  || fail "the packaged metainfo does not validate"
MANWIDTH=80 man -l "$work/root/usr/share/man/man1/quorvane.1.gz" 2>&1 | grep -q -- '--switch-to' \
  || fail "the packaged manual page does not render"
echo "PASS: $(basename "$deb")"
