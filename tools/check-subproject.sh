#!/usr/bin/env bash
# Configures the tree as a sub-project of a small wrapper project
# (add_subdirectory) and fails when its build would need a file that is
# neither there nor built by it: a path taken from the top project's folders
# where the tree's own are meant.
# Usage: check-subproject.sh <source root> [cmake options...]
set -euo pipefail
root=$(cd "$1" && pwd)
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/wrapper"
cat >"$scratch/wrapper/CMakeLists.txt" <<WRAPPER
cmake_minimum_required(VERSION 3.25)
project(Wrapper LANGUAGES C CXX)
add_subdirectory("$root" game)
WRAPPER
build=$scratch/build
if ! cmake -S "$scratch/wrapper" -B "$build" -G Ninja -DGAME_TESTS=OFF -DGAME_BENCH=OFF "$@" \
    >"$scratch/configure.log" 2>&1; then
  tail -n 20 "$scratch/configure.log"
  echo "subproject: configuring the tree as a sub-project failed"
  exit 1
fi
cd "$build"
ninja -t targets all | sed 's/: [^:]*$//' | sort -u >"$scratch/built"
ninja -t inputs all | sort -u >"$scratch/inputs"
missing=0
while IFS= read -r input; do
  [[ -e "$input" ]] && continue
  echo "subproject: the build needs $input, which is neither there nor built"
  missing=1
done < <(comm -23 "$scratch/inputs" "$scratch/built")
(( missing == 0 )) && echo "subproject: every input of the build is there or built"
exit $missing
