#!/bin/bash
# SPDX-License-Identifier: MIT
# Builds the Debian package as Debian builds its own: the program alone, with
# the compiler and linker flags of dpkg-buildflags and all of its hardening
# (stack protector, _FORTIFY_SOURCE, full RELRO, PIE). Writes
# <build dir>/tavisk_<version>_<arch>.deb; the build directory is
# build-release unless given.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-release}
scripts/deps.sh package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS; the preprocessor flags go with the compiler's.
cmake --preset release -B "$BUILD" \
  -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
cd "$BUILD"
cpack -G DEB
