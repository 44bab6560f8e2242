#!/usr/bin/env bash
# Builds everything once with clang, AddressSanitizer and UBSan (and libFuzzer's
# coverage instrumentation), runs every test, then runs each fuzz target of the
# same build briefly.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
JOBS=$(nproc)

# A clone in another folder reuses the compiler cache for every object built
# without a precompiled header: paths below the clone are hashed relative to
# it, and the working directory is not hashed. Objects built against a test
# program's precompiled header are reused by later builds in the same folder.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
# A miss is hashed from the compiler's own dependency list, without running
# the preprocessor a second time.
export CCACHE_DEPEND=true

CC=clang CXX=clang++ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGAME_SANITIZE=ON -DGAME_FUZZ=ON -DGAME_BENCH=ON -DGAME_UNITY_BUILD=ON
cmake --build build/asan -j "$JOBS"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
# Graphics drivers stay loaded to the end of a run, so the blocks they keep
# are named by module in the leak report and suppressed there; ours are not.
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan-suppressions.txt:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/asan --output-on-failure -j "$JOBS" --timeout 600

tools/fuzz.sh build/asan/fuzz "${FUZZ_SECONDS:-15}"
echo "All tests passed."
