#!/usr/bin/env bash
# Fails when a lower layer includes a higher one. Layers, lowest first:
#   base/ < platform/ < engine/ < everything else (plug-ins, the GUI core,
#   the game's libraries, the program, tools).
# Usage: check-layers.sh [root]     check the tree at root (default: the repository)
#        check-layers.sh --self-test plant an upward include in a scratch tree
#                                    and show that the check catches it
set -euo pipefail

rank() {
  case "$1" in
    base) echo 0 ;;
    platform) echo 1 ;;
    engine) echo 2 ;;
    *) echo 3 ;;
  esac
}

check() {
  local root=$1 bad=0 file top inc target
  while IFS= read -r -d '' file; do
    top=${file#"$root"/}
    top=${top%%/*}
    while IFS= read -r inc; do
      target=${inc%%/*}
      [[ "$inc" == */* && -d "$root/$target" ]] || continue
      if (( $(rank "$target") > $(rank "$top") )); then
        echo "layering: ${file#"$root"/} includes \"$inc\" ($top/ may not include $target/)"
        bad=1
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done < <(find "$root/base" "$root/platform" "$root/engine" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 2>/dev/null)
  return $bad
}

if [[ "${1:-}" == "--self-test" ]]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  mkdir -p "$scratch"/{base,platform,engine/config,renderer}
  echo '#include "base/Status.h"' >"$scratch/platform/Clock.h"
  echo '#include "platform/Clock.h"' >"$scratch/engine/config/ConfigManager.h"
  echo '#include "engine/config/ConfigManager.h"' >"$scratch/renderer/Lumetra.h"
  : >"$scratch/base/Status.h"
  check "$scratch" >/dev/null || { echo "self-test: a clean tree was refused"; exit 1; }
  echo '#include "engine/config/ConfigManager.h"' >>"$scratch/platform/Clock.h"
  if out=$(check "$scratch"); then
    echo "self-test: the planted include of an engine header from platform/ was not caught"
    exit 1
  fi
  echo "$out"
  echo "self-test: caught"
  exit 0
fi

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
check "$root" && echo "layering: ok"
