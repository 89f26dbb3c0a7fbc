#!/usr/bin/env bash
# Installs what the build needs (Debian 12) and builds Jotlark into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build ccache clang-format qt6-base-dev libqt6svg6
          qt6-wayland qt6-translations-l10n fonts-dejavu-core poppler-utils dbus-daemon
          desktop-file-utils appstream groff-base file clang libclang-rt-14-dev pkg-config
          libxcb1-dev qt6-tools-dev qt6-l10n-tools)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
