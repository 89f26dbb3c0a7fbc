#!/usr/bin/env bash
# Sets everything up, checks the formatting, then runs every test; non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# What only the tests need: a private sound server for the real alarm-sound test. Never in
# setup.sh, which a user's first start runs: it would bring a sound server to every user.
missing=()
for p in pulseaudio pulseaudio-utils; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' | xargs -r clang-format --dry-run -Werror
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer: any report
# fails its test.
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJOT_SANITIZE=ON
cmake --build build-san -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-san --output-on-failure -j"$(nproc)"

# The task file's reader and writer under libFuzzer for about a minute, from real files:
# any crash, leak, hang, sanitizer report or broken read-write-read fixed point fails.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DJOT_FUZZ=ON
cmake --build build-fuzz -j"$(nproc)" --target fuzz_taskfile
mkdir -p build-fuzz/corpus
# Its progress lines go to a log; a finding prints the end of it.
if ! build-fuzz/tests/fuzz/fuzz_taskfile -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/ build-fuzz/corpus tests/fuzz/corpus >build-fuzz/fuzz.log 2>&1; then
    tail -n 80 build-fuzz/fuzz.log
    exit 1
fi
grep -E '^Done [0-9]+ runs' build-fuzz/fuzz.log
