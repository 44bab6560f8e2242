#!/usr/bin/env bash
# Fails when a lower layer includes a higher one. Layers, lowest first:
#   base/ < platform/ < engine/ < the plug-ins and the GUI core (gui/,
#   renderer/, input/, sound/) < scene/ < simulation/ < construction/
#   < game/ < screens/ < the program's entry (game/main.cpp) and tools/.
# The shared test kit (simulation/tests/kit/) records the upper libraries'
# classes: it may include any of them, and every folder's tests may use it.
# Tests may also use the asset tools' readers for their fixtures.
# One edge is still open: simulation/ includes the declarations of the
# building records, the path finder and the road manager from
# construction/; it is allowed here until those move (see README, Layout).
# Usage: check-layers.sh [root]     check the tree at root (default: the repository)
#        check-layers.sh --self-test plant upward includes in a scratch tree
#                                    and show that the check catches them
set -euo pipefail

kit=simulation/tests/kit/

# Sets R to the layer of a top folder (no subshell: the check runs once per
# include line).
rank() {
  case "$1" in
    base) R=0 ;;
    platform) R=1 ;;
    engine) R=2 ;;
    gui | renderer | input | sound) R=3 ;;
    scene) R=4 ;;
    simulation) R=5 ;;
    construction) R=6 ;;
    game) R=7 ;;
    screens) R=8 ;;
    *) R=9 ;;
  esac
}

# Sets R to the layer of a file, by its path below the root.
file_rank() {
  case "$1" in
    game/main.cpp) R=9 ;;
    *) rank "${1%%/*}" ;;
  esac
}

check() {
  local root=$1 bad=0 rel top inc target own line
  # One pass over every source file: "path:include" per quoted include.
  while IFS= read -r line; do
    rel=${line%%:*}
    inc=${line#*:}
    top=${rel%%/*}
    [[ "$rel" == "$kit"* ]] && continue
    target=${inc%%/*}
    [[ "$inc" == */* && -d "$root/$target" ]] || continue
    [[ "$inc" == "$kit"* && "$rel" == */tests/* ]] && continue
    [[ "$target" == tools && "$rel" == */tests/* ]] && continue
    [[ "$top" == simulation && "$target" == construction ]] && continue
    file_rank "$rel"
    own=$R
    rank "$target"
    if (( R > own )); then
      echo "layering: $rel includes \"$inc\" ($top/ may not include $target/)"
      bad=1
    fi
  done < <(cd "$root" && grep -rH --include='*.h' --include='*.cpp' --exclude-dir=build --exclude-dir=.git \
             -e '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' . 2>/dev/null |
           sed -n 's|^\./\([^:]*\):[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*|\1:\2|p')
  return $bad
}

if [[ "${1:-}" == "--self-test" ]]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  mkdir -p "$scratch"/{base,platform,engine/config,renderer,scene,simulation/tests/kit,construction,game,screens}
  echo '#include "base/Status.h"' >"$scratch/platform/Clock.h"
  echo '#include "platform/Clock.h"' >"$scratch/engine/config/ConfigManager.h"
  echo '#include "engine/config/ConfigManager.h"' >"$scratch/renderer/Lumetra.h"
  echo '#include "engine/config/ConfigManager.h"' >"$scratch/scene/AudioManager.h"
  echo '#include "scene/AudioManager.h"' >"$scratch/simulation/Clock.h"
  echo '#include "simulation/Clock.h"' >"$scratch/construction/Plot.h"
  echo '#include "construction/Plot.h"' >"$scratch/game/Camera.h"
  echo '#include "game/Camera.h"' >"$scratch/screens/Menu.h"
  echo '#include "screens/Menu.h"' >"$scratch/game/main.cpp"
  echo '#include "game/Camera.h"' >"$scratch/simulation/tests/kit/Recorders.h"
  : >"$scratch/base/Status.h"
  check "$scratch" >/dev/null || { echo "self-test: a clean tree was refused"; exit 1; }
  # One planted upward include per case: each alone must be caught.
  planted=(
    "platform/Clock.h|engine/config/ConfigManager.h"
    "simulation/Clock.h|game/Camera.h"
    "simulation/Clock.h|screens/Menu.h"
    "construction/Plot.h|game/Camera.h"
    "construction/Plot.h|screens/Menu.h"
    "game/Camera.h|screens/Menu.h"
    "scene/AudioManager.h|simulation/Clock.h"
  )
  for case in "${planted[@]}"; do
    file=${case%%|*}
    inc=${case#*|}
    cp "$scratch/$file" "$scratch/$file.clean"
    echo "#include \"$inc\"" >>"$scratch/$file"
    if out=$(check "$scratch"); then
      echo "self-test: the planted include of $inc from $file was not caught"
      exit 1
    fi
    echo "$out"
    mv "$scratch/$file.clean" "$scratch/$file"
  done
  echo "self-test: caught"
  exit 0
fi

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
check "$root" && echo "layering: ok"
