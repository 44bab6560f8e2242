#!/usr/bin/env bash
# Builds every deliverable (optimised) and runs the game. Arguments are passed
# to the program; "--headless" runs it without a display.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGAME_TESTS=OFF -DGAME_BENCH=OFF
cmake --build build/release -j "$(nproc)"
if [[ -x build/release/out/airport ]]; then
  exec build/release/out/airport "$@"
fi
echo "Built everything into build/release/out; the game program is not part of this build yet."
