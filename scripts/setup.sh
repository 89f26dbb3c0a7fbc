#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the build and the tests need (Debian 12) and builds TARGET (default: all, the
# program with its tests, benchmarks and tools) into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-all}

packages=(build-essential cmake ninja-build ccache clang-format qt6-base-dev libqt6svg6
          qt6-wayland qt6-translations-l10n fonts-dejavu-core poppler-utils dbus-daemon
          desktop-file-utils appstream groff-base file clang libclang-rt-14-dev pkg-config
          libxcb1-dev libcanberra-dev libcanberra-pulse sound-theme-freedesktop qt6-tools-dev
          qt6-l10n-tools libical-dev qtkeychain-qt6-dev libsecret-1-0)
bash scripts/install-packages.sh "${packages[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target "$target"
