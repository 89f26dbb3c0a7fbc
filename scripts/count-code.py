#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Counts the lines of code we write, and the tests' share of them.

C++, Python, shell and CMake files under src/, tests/, bench/, tools/ and scripts/, as git
tracks them, without blank lines and lines holding only a comment (// and /* ... */ in C++,
# elsewhere; a "#!" first line is code). Usage: count-code.py [COMMIT] (default: the work tree's tracked files).
"""

import os
import subprocess
import sys

FOLDERS = ["src", "tests", "bench", "tools", "scripts"]
CPP = (".cpp", ".h", ".hpp", ".cc")
HASH = (".py", ".sh", ".cmake")


def kind(path):
    if path.endswith(CPP):
        return "cpp"
    if path.endswith(HASH) or path.rsplit("/", 1)[-1] == "CMakeLists.txt":
        return "hash"
    return None


def cpp_lines(text):
    """Lines with code outside comments; string literals are not looked into for comments
    except that a quote opens one, which is enough for this code base."""
    count = 0
    in_block = False
    for line in text.splitlines():
        code = False
        i, n = 0, len(line)
        in_string = None
        while i < n:
            c = line[i]
            if in_block:
                end = line.find("*/", i)
                if end < 0:
                    break
                in_block = False
                i = end + 2
                continue
            if in_string:
                if c == "\\":
                    i += 2
                    continue
                if c == in_string:
                    in_string = None
                i += 1
                continue
            if line.startswith("//", i):
                break
            if line.startswith("/*", i):
                in_block = True
                i += 2
                continue
            if not c.isspace():
                code = True
                if c in "\"'":
                    in_string = c
            i += 1
        count += code
    return count


def hash_lines(text):
    """A first line "#!" names the interpreter: it counts, as code."""
    lines = text.splitlines()
    shebang = bool(lines) and lines[0].startswith("#!")
    return shebang + sum(1 for line in lines[shebang:]
                         if line.strip() and not line.strip().startswith("#"))


def main():
    commit = sys.argv[1] if len(sys.argv) > 1 else None
    os.chdir(subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True,
                            check=True, text=True).stdout.strip())
    listing = (["git", "ls-tree", "-r", "-z", "--name-only", commit] if commit
               else ["git", "ls-files", "-z"])
    listed = subprocess.run([*listing, "--", *FOLDERS], capture_output=True,
                            check=True).stdout.decode().split("\0")
    tests = total = 0
    for path in filter(None, listed):
        k = kind(path)
        if not k:
            continue
        if commit:
            data = subprocess.run(["git", "show", f"{commit}:{path}"], capture_output=True,
                                  check=True).stdout
        else:
            with open(path, "rb") as f:
                data = f.read()
        text = data.decode("utf-8", errors="replace")
        n = cpp_lines(text) if k == "cpp" else hash_lines(text)
        total += n
        if path.startswith("tests/"):
            tests += n
    print(f"tests {tests}")
    print(f"all {total}")
    print(f"share {100 * tests / total:.1f}%" if total else "share -")


if __name__ == "__main__":
    main()
