#!/usr/bin/env bash
# Builds an optimised tree and runs every benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGAME_TESTS=OFF -DGAME_BENCH=ON
cmake --build build/release -j "$(nproc)"
for b in build/release/bench/*; do [[ -x "$b" ]] && "$b" "$@"; done
