#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets everything up, checks the formatting, runs every test and checks the Debian package;
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# What only the tests need: a private sound server for the real alarm-sound test (never in
# setup.sh, which a user's first start runs: it would bring a sound server to every user), the
# time-zone tables for the daylight-saving days, and a private X server, the AT-SPI buses and
# Debian's pyatspi for the tray that comes over X11 and for walking the running program as a
# screen reader does; openbox, xprop, xwininfo, xmessage and xdotool for the notes as a window
# manager sees them; Radicale, the CalDAV server the sync's tests start on 127.0.0.1 (its
# packaged service never starts in a container, and the tests use a configuration of their own)
# and openssl for its test certificate.
bash scripts/install-packages.sh pulseaudio pulseaudio-utils tzdata xvfb at-spi2-core \
    python3-pyatspi gir1.2-atspi-2.0 openbox x11-utils xdotool radicale openssl
git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' | xargs -r clang-format --dry-run -Werror
# Every file of ours names its licence on its first line (after a #! line); images, the fuzz
# corpora (data read as task files and answers) and the sample calendars cannot.
unlicensed=$(git ls-files -co --exclude-standard -- src tests bench tools scripts '*CMakeLists.txt' |
    grep -vE '\.png$|\.ics$|^tests/fuzz/corpus' | while read -r f; do
        awk 'NR == 1 && /^#!/ { next } { found = index($0, id) > 0; exit } END { exit !found }' \
            id='SPDX-License-Identifier: GPL-3.0-or-later' "$f" || echo "$f"
    done)
[ -z "$unlicensed" ] || { printf 'No SPDX-License-Identifier line in:\n%s\n' "$unlicensed"; exit 1; }
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The Debian package, built as scripts/package.sh builds it and checked, never installed here:
# any lintian error fails (the warnings left are listed in docs/packaging.md).
bash scripts/install-packages.sh lintian
bash scripts/package.sh
lintian --fail-on error dist/jotlark_*.deb

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer: any report
# fails its test.
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJOT_SANITIZE=ON
cmake --build build-san -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
    ctest --test-dir build-san --output-on-failure -j"$(nproc)"

# The task file's reader and writer under libFuzzer for about a minute, from real files:
# any crash, leak, hang, sanitizer report or broken read-write-read fixed point fails.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DJOT_FUZZ=ON
cmake --build build-fuzz -j"$(nproc)" --target fuzz_taskfile fuzz_calendar fuzz_davxml
mkdir -p build-fuzz/corpus build-fuzz/corpus-calendar build-fuzz/corpus-davxml
# Its progress lines go to a log; a finding prints the end of it.
if ! build-fuzz/tests/fuzz/fuzz_taskfile -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/ build-fuzz/corpus tests/fuzz/corpus >build-fuzz/fuzz.log 2>&1; then
    tail -n 80 build-fuzz/fuzz.log
    exit 1
fi
grep -E '^Done [0-9]+ runs' build-fuzz/fuzz.log

# The calendar file reader the same way, from the sample calendars, for half a minute.
if ! build-fuzz/tests/fuzz/fuzz_calendar -max_total_time=30 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/calendar- build-fuzz/corpus-calendar tests/calendar/samples \
    >build-fuzz/fuzz-calendar.log 2>&1; then
    tail -n 80 build-fuzz/fuzz-calendar.log
    exit 1
fi
grep -E '^Done [0-9]+ runs' build-fuzz/fuzz-calendar.log

# The WebDAV answer reader the same way, from sample answers, for half a minute.
if ! build-fuzz/tests/fuzz/fuzz_davxml -max_total_time=30 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/davxml- build-fuzz/corpus-davxml tests/fuzz/corpus-davxml \
    >build-fuzz/fuzz-davxml.log 2>&1; then
    tail -n 80 build-fuzz/fuzz-davxml.log
    exit 1
fi
grep -E '^Done [0-9]+ runs' build-fuzz/fuzz-davxml.log
