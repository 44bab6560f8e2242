#!/usr/bin/env bash
# Runs every fuzz target in <dir> for <seconds> each, seeded from its corpus
# folder (engine/fuzz/corpus/<target>) when there is one. Any crash fails.
set -euo pipefail
DIR=${1:-build/fuzz/fuzz}
SECONDS_EACH=${2:-60}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
[[ -d "$DIR" ]] || { echo "no fuzz targets in $DIR"; exit 0; }
DIR=$(cd "$DIR" && pwd)  # the targets run from a scratch directory
for target in "$DIR"/*; do
  [[ -x "$target" ]] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  seeds=()
  for c in "$ROOT"/*/fuzz/corpus/"$name" "$ROOT"/*/*/fuzz/corpus/"$name"; do [[ -d "$c" ]] && seeds+=("$c"); done
  echo "== fuzzing $name for ${SECONDS_EACH}s"
  (cd "$work" && "$target" -max_total_time="$SECONDS_EACH" -max_len=65536 -rss_limit_mb=2048 \
      -print_final_stats=0 "$work" "${seeds[@]}" >"$work/log" 2>&1) || { tail -50 "$work/log"; exit 1; }
  rm -rf "$work"
done
