#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Notes as a window manager sees them, from outside, on a private X server with openbox.

A note on every workspace (_NET_WM_DESKTOP), where the user left it and as large, across a
close, Show all and a restart; a ringing note above the window the user types in, which keeps
the keyboard. Nothing of the user's is used: no display, no bus, no home. Usage:
tst_x11notes.py JOTLARK_BINARY; non-zero when a check fails.
"""

import datetime
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
from children import WAIT_S, Failure, private_home, start, start_x_server, stop_all, wait_for  # noqa: E402,E501

JOTLARK = sys.argv[1]
PLACE = (100, 150, 400, 150)  # where the user left the first note: inner x, y, width, height

def run(env, *args):
    r = subprocess.run(args, env=env, capture_output=True, text=True, timeout=WAIT_S)
    return r.stdout if r.returncode == 0 else ""


def window(env, name):
    """The mapped window whose title ends with `name`, or None."""
    ids = run(env, "xdotool", "search", "--onlyvisible", "--name", name + "$").split()
    return ids[0] if ids else None


def prop(env, target, name):
    where = ["-root"] if target == "root" else ["-id", target]
    out = run(env, "xprop", *where, name)  # "NAME(TYPE) = value" or "NAME(TYPE): window id # 0x.."
    return out.partition(")")[2].lstrip(":= ").strip() if "(" in out else ""


def inner(env, w):
    """x, y, width, height of the window's own area, on the screen."""
    out = run(env, "xwininfo", "-id", w)
    v = dict(line.strip().partition(":")[::2] for line in out.splitlines())
    return tuple(int(v[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width",
                                     "Height"))


def check(what, probe, expected):
    """probe() comes to give `expected`: the window manager takes its time."""
    wait_for(f"{what} of {expected!r}", lambda: probe() == expected)


def main():
    tmp = tempfile.mkdtemp(prefix="jot-x11-")
    env = private_home(tmp, QT_QPA_PLATFORM="xcb",
                       DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(tmp, "no-bus"))
    data = os.path.join(env["XDG_DATA_HOME"], "jotlk")
    os.makedirs(data)
    yesterday = datetime.date.today() - datetime.timedelta(days=1)
    alarm = yesterday.strftime("%A %m/%d") + " 9:00 am"  # missed: it rings at the start
    with open(os.path.join(data, "planifs.txt"), "wb") as f:
        f.write('"Le 03/14 \u00e0 09:00 am","first","",""\r\n'
                f'"Le 03/14 \u00e0 10:00 am","ring","{alarm}",""\r\n'.encode())
    for marker in ("allworkspaces.txt", "pref1.txt"):  # in the tray: no main window in front
        open(os.path.join(data, marker), "w").close()

    start_x_server(env)
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    # Ready once it runs its start-up command, just before its event loop: a window mapped while
    # it starts up, even after it announced itself on the root window, may never be managed.
    start(["openbox", "--startup", "xprop -root -f JOT_WM_READY 8s -set JOT_WM_READY yes"], env,
          **quiet)
    wait_for("window manager", lambda: prop(env, "root", "JOT_WM_READY"))

    # The user types in another program's window when the alarm rings at Jotlark's start.
    start(["xmessage", "-geometry", "500x300+400+300", "typing here"], env, **quiet)
    other = wait_for("window to type in", lambda: window(env, "xmessage"))
    run(env, "xdotool", "windowactivate", "--sync", other)
    program = start([JOTLARK], env, **quiet)
    ringing = wait_for("ringing note", lambda: window(env, "10:00 am"))
    check("ringing note on every workspace", lambda: prop(env, ringing, "_NET_WM_DESKTOP"),
          str(0xFFFFFFFF))
    check("ringing note on top",
          lambda: "_NET_WM_STATE_ABOVE" in prop(env, ringing, "_NET_WM_STATE"), True)
    check("window with the keyboard",
          lambda: int(prop(env, "root", "_NET_ACTIVE_WINDOW").split("#")[-1], 16), int(other))

    def stacked():
        return [int(x.split("#")[-1], 16)
                for x in prop(env, "root", "_NET_CLIENT_LIST_STACKING").split(",")]
    check("ringing note above the window typed in",
          lambda: stacked().index(int(ringing)) > stacked().index(int(other)), True)

    subprocess.run([JOTLARK, "--show-all"], env=env, timeout=WAIT_S, check=True)
    first = wait_for("first note", lambda: window(env, "09:00 am"))
    if "_NET_WM_STATE_ABOVE" in prop(env, first, "_NET_WM_STATE"):
        raise Failure("a note on top without the option")

    # The user moves and resizes it and closes it by Ctrl+W; Show all brings it back so. The
    # key reaches the program after the move on its X connection, where --hide-all, on a
    # socket of its own, could overtake the move on a busy machine.
    run(env, "xdotool", "windowmove", first, str(PLACE[0]), str(PLACE[1]))
    run(env, "xdotool", "windowsize", first, str(PLACE[2]), str(PLACE[3]))
    check("note moved", lambda: inner(env, first), PLACE)
    run(env, "xdotool", "windowactivate", "--sync", first)
    run(env, "xdotool", "key", "ctrl+w")
    wait_for("note closed", lambda: not window(env, "09:00 am"))
    subprocess.run([JOTLARK, "--show-all"], env=env, timeout=WAIT_S, check=True)
    first = wait_for("first note again", lambda: window(env, "09:00 am"))
    check("after Show all", lambda: inner(env, first), PLACE)

    # Ended with the note open: the next start opens it where it was.
    program.terminate()
    program.wait(WAIT_S)
    wait_for("notes gone", lambda: not window(env, "09:00 am"))
    start([JOTLARK], env, **quiet)
    first = wait_for("first note after a restart", lambda: window(env, "09:00 am"))
    check("after a restart", lambda: inner(env, first), PLACE)

if __name__ == "__main__":
    try:
        main()
    except (Failure, subprocess.SubprocessError) as e:
        print(f"FAIL: {e}")
        sys.exit(1)
    finally:
        stop_all()
    print("PASS")
