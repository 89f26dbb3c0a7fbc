#!/usr/bin/env bash
# Sets everything up, checks the formatting, then runs every test; non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' | xargs -r clang-format --dry-run -Werror
ctest --test-dir build --output-on-failure -j"$(nproc)"
