#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up and builds the program alone (the test command builds the rest), then starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "Building the program only (not the tests, benchmarks or tools) into build/"
bash scripts/setup.sh jotlark
exec ./build/src/jotlark
