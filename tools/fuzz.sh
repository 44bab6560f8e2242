#!/usr/bin/env bash
# Runs every fuzz target in <dir> for <seconds> each, as many side by side as
# there are cores, each seeded from its corpus folder (<part>/fuzz/corpus/<target>
# anywhere in the tree) when there is one. Any crash fails the run and prints
# that target's log.
set -euo pipefail
DIR=${1:-build/asan/fuzz}
SECONDS_EACH=${2:-60}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
[[ -d "$DIR" ]] || { echo "no fuzz targets in $DIR"; exit 0; }
DIR=$(cd "$DIR" && pwd)
JOBS=${FUZZ_JOBS:-$(nproc)}

fuzz_one() {
  local target=$1 name work seeds=() c
  name=$(basename "$target")
  work=$(mktemp -d)  # each target runs from its own scratch directory
  while IFS= read -r -d '' c; do seeds+=("$c"); done < <(
    find "$ROOT" -path "$ROOT/build" -prune -o -type d -path "*/fuzz/corpus/$name" -print0)
  if (cd "$work" && "$target" -max_total_time="$SECONDS_EACH" -max_len=65536 -rss_limit_mb=2048 \
        -print_final_stats=0 "$work" "${seeds[@]}" >"$work/log" 2>&1); then
    echo "== fuzzed $name for ${SECONDS_EACH}s: no crash"
    rm -rf "$work"
  else
    echo "== $name FAILED; its log ($work/log) ends:"
    tail -50 "$work/log"
    return 1
  fi
}
export -f fuzz_one
export ROOT SECONDS_EACH

targets=()
for t in "$DIR"/*; do [[ -x "$t" && -f "$t" ]] && targets+=("$t"); done
((${#targets[@]})) || { echo "no fuzz targets in $DIR"; exit 0; }
echo "fuzzing ${#targets[@]} targets for ${SECONDS_EACH}s each, $JOBS at a time"
printf '%s\0' "${targets[@]}" | xargs -0 -n1 -P "$JOBS" bash -c 'fuzz_one "$1"' _
