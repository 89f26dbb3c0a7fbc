#!/usr/bin/env bash
# Sets everything up, then starts Jotlark.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec ./build/src/jotlark
