#!/usr/bin/python3
"""own_session.py [--bus] [--fresh] COMMAND [ARGUMENT...]: runs a command as a session of its own
and takes away whatever it leaves. The session gets a runtime folder of its own (XDG_RUNTIME_DIR),
with --fresh also an empty cache folder (XDG_CACHE_HOME) and temporary folder (TMPDIR), as on a
machine that has never run anything; with --bus it runs on a session bus of its own
(dbus-run-session), whose services (a desktop portal, the document portal, gvfs) the bus starts as
the session asks for them. This process is the session's subreaper: every process the session
started and left running, a service of its bus or a process a failed test left behind, becomes
its child once its parent has gone, and is ended (SIGTERM, then SIGKILL) when the command has
ended. The mounts made below the session's folders (the document portal's, which outlives a
portal killed mid-way) are taken away, then the folders. Nothing outside them is touched.
Exits with the command's status (77 without dbus-run-session for --bus)."""
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PR_SET_CHILD_SUBREAPER = 36


def mount_points():
    points = []
    with open("/proc/self/mountinfo", encoding="utf-8", errors="replace") as table:
        for line in table:
            # The fifth field, with spaces and the like written as octal escapes.
            points.append(line.split()[4].encode().decode("unicode_escape"))
    return points


def children():
    me, found = os.getpid(), set()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", encoding="utf-8", errors="replace") as stat:
                # "PID (NAME) STATE PPID ...": the name may hold spaces and parentheses.
                if int(stat.read().rsplit(")", 1)[1].split()[1]) == me:
                    found.add(int(entry))
        except (OSError, IndexError, ValueError):
            pass
    return found


def reap():
    try:
        while os.waitpid(-1, os.WNOHANG)[0] > 0:
            pass
    except ChildProcessError:
        pass


def end_leftovers(grace):
    """Ends every child until none is left: a child's own children come here once it has gone."""
    out_of_reach = set()  # another user's, which this one may not signal
    for _ in range(20):
        reap()
        left = children() - out_of_reach
        if not left:
            return
        for pid in left:
            try:
                os.kill(pid, signal.SIGTERM)
            except PermissionError:
                out_of_reach.add(pid)
            except OSError:
                pass
        deadline = time.monotonic() + grace
        while time.monotonic() < deadline and children() & left:
            reap()
            time.sleep(0.02)
        for pid in children() & left:
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        time.sleep(0.02)


def unmount_below(folders, before):
    mine = [f.rstrip("/") + "/" for f in folders]
    # The deepest first: a mount inside another one goes before it.
    for point in sorted(set(mount_points()) - before, key=len, reverse=True):
        if any(point.startswith(folder) for folder in mine):
            # Lazily: a portal that has stopped leaves a mount that any look at it would wait on.
            for tool in (["fusermount3", "-u", "-z"], ["fusermount", "-u", "-z"], ["umount", "-l"]):
                try:
                    if subprocess.run(tool + [point], stderr=subprocess.DEVNULL).returncode == 0:
                        break
                except OSError:
                    pass


def main(argv):
    bus = fresh = False
    while argv and argv[0] in ("--bus", "--fresh"):
        bus, fresh = bus or argv[0] == "--bus", fresh or argv[0] == "--fresh"
        argv = argv[1:]
    if not argv:
        print(__doc__, file=sys.stderr)
        return 2
    if bus:
        if not shutil.which("dbus-run-session"):
            print("SKIP: dbus-run-session is not installed")
            return 77
        argv = ["dbus-run-session", "--"] + argv
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    scratch = tempfile.mkdtemp(prefix="quorvane-")
    folders = {"XDG_RUNTIME_DIR": "runtime"}
    if fresh:
        folders.update(XDG_CACHE_HOME="cache", TMPDIR="tmp")
    env = dict(os.environ)
    for name, folder in folders.items():
        env[name] = os.path.join(scratch, folder)
        os.mkdir(env[name], 0o700)
    if fresh:
        # As /tmp is: a session that runs as another user (an unprivileged one, or sway's) makes
        # its own folders there.
        os.chmod(scratch, 0o711)
        os.chmod(env["TMPDIR"], 0o1777)
    before = set(mount_points())
    command = subprocess.Popen(argv, env=env)
    running = [True]

    def forward(number, _frame):
        if running[0]:
            os.kill(command.pid, number)

    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, forward)
    # Orphans that end while the command runs are reaped as they end, not kept until the last.
    while True:
        pid, wait_status = os.wait()
        if pid == command.pid:
            running[0] = False
            status = command.returncode = os.waitstatus_to_exitcode(wait_status)
            break
    end_leftovers(grace=2.0)
    unmount_below([scratch], before)
    shutil.rmtree(scratch, ignore_errors=True)
    return 128 - status if status < 0 else status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
