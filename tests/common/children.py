# SPDX-License-Identifier: GPL-3.0-or-later
"""The child processes of a test run from outside: each ends with the test, even when it is
killed, and stop_all() ends what is left, the last started first."""

import ctypes
import signal
import subprocess

_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1
_children = []


class Failure(Exception):
    pass


def dies_with_us(sig=signal.SIGKILL):
    _libc.prctl(_PR_SET_PDEATHSIG, sig)


def start(args, env, deathsig=signal.SIGKILL, **kwargs):
    p = subprocess.Popen(args, env=env, preexec_fn=lambda: dies_with_us(deathsig), **kwargs)
    _children.append(p)
    return p


def stop_all():
    for p in reversed(_children):
        if p.poll() is None:
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
