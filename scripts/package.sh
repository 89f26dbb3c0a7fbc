#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package dist/jotlark_<version>-<revision>_<arch>.deb from a Release build of
# its own (build-package/), with Debian's compiler and linker flags (hardening included).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh build-essential cmake ninja-build qt6-base-dev dpkg-dev file

build=build-package
rm -rf "$build/_CPack_Packages"
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DJOT_PACKAGE=ON
cmake --build "$build" -j"$(nproc)"
(cd "$build" && rm -f ./*.deb && cpack)
mkdir -p dist
rm -f dist/jotlark_*.deb
cp "$build"/jotlark_*.deb dist/
echo "wrote dist/$(basename "$build"/jotlark_*.deb)"
