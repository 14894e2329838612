#!/bin/bash
# SPDX-License-Identifier: MIT
# Builds the clock (the program alone, in build-release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target tavisk
exec build-release/tavisk
