#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Jotlark's tree reaches the accessibility bus under the program's name, as a screen reader
finds it from outside (the widget tests prove what the tree holds).

Runs the real program on a private X server (Xvfb) and a private session bus, with the AT-SPI
bus launcher and registry on that bus. Nothing of the user's is used: no display, no bus, no
home. Everything started here dies with this script, even when it is killed (PR_SET_PDEATHSIG,
and a trap for the launcher's own bus). Usage: tst_atspi.py JOTLARK_BINARY; non-zero on failure.
"""

import os
import select
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
from children import Failure, start, stop_all  # noqa: E402

JOTLARK = sys.argv[1]
WAIT_S = 30  # for anything to come up; a busy machine takes seconds, a fault takes all of it
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
PACKAGES = "xvfb dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0"

TEXT = "Water the plants"

def read_line(fd, what):
    """A line written to a pipe, waited for at most WAIT_S."""
    data = b""
    deadline = time.monotonic() + WAIT_S
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise Failure(f"{what} did not start within {WAIT_S} s")
        chunk = os.read(fd, 256)
        if not chunk:
            raise Failure(f"{what} ended before it started")
        data += chunk
    return data.decode().strip()


def wait_for(what, probe):
    """probe()'s first true answer, asked every 50 ms for at most WAIT_S."""
    deadline = time.monotonic() + WAIT_S
    error = ""
    while True:
        try:
            found = probe()
        except Exception as e:  # a window or a bus still coming up answers with an error
            found, error = None, f" (last: {e})"
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failure(f"no {what} within {WAIT_S} s{error}")
        time.sleep(0.05)


def start_services(tmp):
    """The X server, the session bus and the AT-SPI bus; the environment to use."""
    env = {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": tmp,
        "XDG_DATA_HOME": os.path.join(tmp, "data"),
        "XDG_CONFIG_HOME": os.path.join(tmp, "config"),
        "XDG_CACHE_HOME": os.path.join(tmp, "cache"),
        "XDG_STATE_HOME": os.path.join(tmp, "state"),
        "XDG_RUNTIME_DIR": os.path.join(tmp, "runtime"),
        "LANG": "C.UTF-8",
        "LC_ALL": "C.UTF-8",
        # The launcher reads whether accessibility is on from GSettings: never the user's.
        "GSETTINGS_BACKEND": "memory",
    }
    for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
        if name in os.environ:
            env[name] = os.environ[name]
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)

    r, w = os.pipe()
    start(["Xvfb", "-displayfd", str(w), "-nolisten", "tcp", "-screen", "0", "1280x1024x24"],
          env, pass_fds=[w], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    env["DISPLAY"] = ":" + read_line(r, "Xvfb")
    os.close(r)

    config = os.path.join(tmp, "session.conf")
    with open(config, "w") as f:
        f.write(f'<busconfig><listen>unix:dir={tmp}</listen><policy context="default">'
                '<allow own="*"/><allow send_destination="*" eavesdrop="true"/>'
                '<allow eavesdrop="true"/></policy></busconfig>\n')
    bus = start(["dbus-daemon", "--config-file=" + config, "--print-address", "--nofork"], env,
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    env["DBUS_SESSION_BUS_ADDRESS"] = read_line(bus.stdout.fileno(), "dbus-daemon")

    # Killed, the launcher leaves its accessibility bus running: it runs in a process group of
    # its own under a shell that ends the whole group when this script ends, however it ends.
    # That bus starts the registry when the program first asks for it.
    start(["sh", "-c", 'trap "trap - TERM; kill -TERM 0" TERM; "$@" & wait', "sh", LAUNCHER,
           "--launch-immediately", "--a11y=1"], env, deathsig=signal.SIGTERM, process_group=0,
          stderr=subprocess.DEVNULL)
    return env


def main():
    with tempfile.TemporaryDirectory(prefix="jot-atspi-") as tmp:
        try:
            walk(tmp)
        except Failure as e:
            print(f"FAIL: {e}")
            return 1
        finally:
            stop_all()  # before the folder goes: the program saves into it to the end
    print("PASS: the task list reaches the accessibility bus under the program's name")
    return 0


def walk(tmp):
    env = start_services(tmp)
    data = os.path.join(env["XDG_DATA_HOME"], "jotlk")
    os.makedirs(data, mode=0o700)
    with open(os.path.join(data, "planifs.txt"), "wb") as f:
        f.write(f'"Le 03/14 \u00e0 09:00 am","{TEXT}","",""\r\n'.encode())

    # The client library finds the accessibility bus through the session bus it is given.
    os.environ.update({k: env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
    os.environ.pop("AT_SPI_BUS_ADDRESS", None)
    import pyatspi

    start([JOTLARK], dict(env, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                          QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    desktop = pyatspi.Registry.getDesktop(0)

    def descendants(acc, depth=0):
        for i in range(acc.childCount if depth < 25 else 0):
            child = acc.getChildAtIndex(i)
            if child is not None:
                yield child
                yield from descendants(child, depth + 1)

    def task_cell():
        desktop.clearCache()
        app = next((a for a in desktop if a is not None and a.name == "Jotlark"), None)
        return app and next((a for a in descendants(app) if a.name == TEXT and
                             a.getRole() == pyatspi.ROLE_TABLE_CELL), None)
    wait_for("task in Jotlark's tree on the accessibility bus", task_cell)


if __name__ == "__main__":
    for tool in ("Xvfb", "dbus-daemon", LAUNCHER):
        if not any(os.access(os.path.join(d, tool), os.X_OK)
                   for d in os.environ.get("PATH", "").split(os.pathsep) + [""]):
            print(f"FAIL: {tool} is missing; bash scripts/test.sh installs {PACKAGES}")
            sys.exit(1)
    try:
        sys.exit(main())
    except ImportError as e:
        print(f"FAIL: {e}; bash scripts/test.sh installs {PACKAGES}")
        sys.exit(1)
