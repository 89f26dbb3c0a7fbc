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
import signal
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
from children import Failure, private_home, start, start_x_server, stop_all, wait_for  # noqa: E402,E501

JOTLARK = sys.argv[1]
PACKAGES = "xvfb dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0"
TEXT = "Water the plants"


def walk(tmp):
    # The launcher reads whether accessibility is on from GSettings: never the user's.
    env = private_home(tmp, GSETTINGS_BACKEND="memory")
    start_x_server(env)
    config = os.path.join(tmp, "session.conf")
    with open(config, "w") as f:
        f.write(f'<busconfig><listen>unix:dir={tmp}</listen><policy context="default">'
                '<allow own="*"/><allow send_destination="*" eavesdrop="true"/>'
                '<allow eavesdrop="true"/></policy></busconfig>\n')
    bus = start(["dbus-daemon", "--config-file=" + config, "--print-address", "--nofork"], env,
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    env["DBUS_SESSION_BUS_ADDRESS"] = wait_for("dbus-daemon", bus.stdout.readline).decode().strip()
    # Killed, the launcher leaves its accessibility bus running: it runs in a process group of
    # its own under a shell that ends the whole group when this script ends, however it ends.
    start(["sh", "-c", 'trap "trap - TERM; kill -TERM 0" TERM; "$@" & wait', "sh",
           "/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"], env,
          deathsig=signal.SIGTERM, process_group=0, stderr=subprocess.DEVNULL)
    wait_for("accessibility bus from the launcher", lambda: subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.a11y.Bus.GetAddress"], env=env, capture_output=True).returncode == 0)
    start(["/usr/libexec/at-spi2-registryd"], env, stdout=subprocess.DEVNULL,
          stderr=subprocess.DEVNULL)
    data = os.path.join(env["XDG_DATA_HOME"], "jotlk")
    os.makedirs(data, mode=0o700)
    with open(os.path.join(data, "planifs.txt"), "wb") as f:
        f.write(f'"Le 03/14 \u00e0 09:00 am","{TEXT}","",""\r\n'.encode())

    # The client library finds the accessibility bus through the session bus it is given.
    os.environ.update({k: env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
    os.environ.pop("AT_SPI_BUS_ADDRESS", None)
    import pyatspi

    # The registry first: the program that finds none on the bus is never listed.
    wait_for("AT-SPI registry", lambda: pyatspi.Registry.getDesktop(0).childCount >= 0)
    start([JOTLARK], dict(env, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                          QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

    def task_cell():
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clearCache()
        app = next((a for a in desktop if a is not None and a.name == "Jotlark"), None)
        return app and pyatspi.findDescendant(
            app, lambda a: a.name == TEXT and a.getRole() == pyatspi.ROLE_TABLE_CELL)
    wait_for("task in Jotlark's tree on the accessibility bus", task_cell)


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="jot-atspi-") as tmp:
        try:
            walk(tmp)
        except (Failure, ImportError, FileNotFoundError) as e:
            hint = "" if isinstance(e, Failure) else f"; bash scripts/test.sh installs {PACKAGES}"
            print(f"FAIL: {e}{hint}")
            sys.exit(1)
        finally:
            stop_all()  # before the folder goes: the program saves into it to the end
    print("PASS: the task list reaches the accessibility bus under the program's name")
