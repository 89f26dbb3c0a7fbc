# SPDX-License-Identifier: GPL-3.0-or-later
"""The child processes of a test run from outside: each ends with the test, even when it is
killed, and stop_all() ends what is left, the last started first. The program runs in a home
and on an X server of the test's own."""

import ctypes
import os
import select
import signal
import subprocess
import time

_libc = ctypes.CDLL(None, use_errno=True)
_children = []
# For anything to come up: at a load of ten times the cores openbox took over 30 s to start;
# a fault takes all of it.
WAIT_S = 60


class Failure(Exception):
    pass


def start(args, env, deathsig=signal.SIGKILL, **kwargs):
    # PR_SET_PDEATHSIG (1): the child gets deathsig when this script ends, however it ends.
    p = subprocess.Popen(args, env=env, preexec_fn=lambda: _libc.prctl(1, deathsig), **kwargs)
    _children.append(p)
    return p


def stop_all():
    for p in reversed(_children):
        p.terminate()  # nothing for one that ended
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()


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


def private_home(tmp, **more):
    """An environment whose home, data, settings and runtime folders are all under tmp."""
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": tmp, "LANG": "C.UTF-8",
           "LC_ALL": "C.UTF-8", **more}
    for name in ("DATA", "CONFIG", "CACHE", "STATE", "RUNTIME"):
        env[f"XDG_{name}_" + ("DIR" if name == "RUNTIME" else "HOME")] = os.path.join(
            tmp, name.lower())
    env.update({k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")})
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    return env


def start_x_server(env):
    """Xvfb on a display of its own, named in env["DISPLAY"]."""
    r, w = os.pipe()
    start(["Xvfb", "-displayfd", str(w), "-nolisten", "tcp", "-screen", "0", "1280x1024x24"],
          env, pass_fds=[w], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    if not select.select([r], [], [], WAIT_S)[0]:
        raise Failure("Xvfb did not start")
    # The read end stays open for the server's life: a server writing to a closed pipe dies.
    env["DISPLAY"] = ":" + os.read(r, 64).decode().strip()
