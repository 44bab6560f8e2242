#!/usr/bin/env bash
# Builds every deliverable (optimised) and runs the game. Arguments are passed
# to the program; "--headless" runs it without a display.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGAME_TESTS=OFF -DGAME_BENCH=OFF
cmake --build build/release -j "$(nproc)"
# The program's current directory is its resource folder, where it reads
# base.cfg; its plug-ins lie beside it in out/.
cd build/release/out/data
exec ../airport "$@"
