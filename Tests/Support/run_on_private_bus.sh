#!/usr/bin/env bash
# Runs a command on a session bus of its own that can start no service but those of an empty
# service folder of its own: a file manager or any other service installed on the machine is
# never activated by a test. Tells the tests so in QUORVANE_PRIVATE_BUS. Exits 77 (skipped)
# without dbus-run-session.
set -u
command -v dbus-run-session >/dev/null 2>&1 || exit 77
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/services"
cat > "$work/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:tmpdir=$work</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
export QUORVANE_PRIVATE_BUS=1
dbus-run-session --config-file="$work/session.conf" -- "$@"
