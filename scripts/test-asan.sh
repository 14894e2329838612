#!/bin/bash
# SPDX-License-Identifier: MIT
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (the
# CMake preset "asan", in build-asan) and runs the whole test suite under
# them. Any report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
ctest --preset asan "$@"
