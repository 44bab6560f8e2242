#!/usr/bin/env bash
# Plays one committed input script twice on the real program, headless, on
# a fixed step, each run in its own scratch copy of the run tree: the
# first alone, the second beside a busy loop that loads the machine. The two
# runs must end alike: the same status, the same standard output and error
# output, and the same files written (saves and settings byte for byte).
# Usage: run_reproducible.sh <run tree> <script name> <step in ms> <scratch folder> [<file it must write>]
set -uo pipefail
tree=$1
script=$2
step=$3
scratch=$4
expected=${5:-}

play() {
  local dir=$scratch/$1
  rm -rf "$dir"
  mkdir -p "$dir" || exit 1
  cp -al "$tree"/. "$dir"/ || { echo "cannot copy the run tree"; exit 1; }
  rm -f "$dir/data/KV9.cfg"
  (cd "$dir/data" && ./../airport --headless --fixed-step "$step" --input "$script" >../stdout 2>../stderr)
  echo $? >"$dir/status"
}

play first
# A loaded machine: one busy loop for as long as the second run lasts.
( while :; do :; done ) &
load=$!
play second
kill "$load"
wait "$load" 2>/dev/null

status=$(cat "$scratch/first/status")
[[ $status -eq 0 ]] || { echo "$script: the first run ended with status $status"; tail -n 20 "$scratch/first/stderr"; exit 1; }
failed=0
for what in status stdout stderr; do
  if ! cmp -s "$scratch/first/$what" "$scratch/second/$what"; then
    echo "$script: the runs' $what differ:"
    diff "$scratch/first/$what" "$scratch/second/$what" | head -n 20
    failed=1
  fi
done
# Every file either run wrote or changed (the copies are hard links, so an
# untouched file is the run tree's own); a save or setting written by only
# one run differs as well.
if ! diff -r "$scratch/first/data" "$scratch/second/data" >"$scratch/data.diff"; then
  echo "$script: the runs wrote different files:"
  head -n 20 "$scratch/data.diff"
  failed=1
fi
written=$(find "$scratch/first/data" -type f -links 1 | sed "s|$scratch/first/data/||" | sort)
echo "files written by each run: ${written:-none}"
if [[ -n "$expected" ]] && ! grep -qxF "$expected" <<<"$written"; then
  echo "$script: the runs did not write $expected"
  failed=1
fi
[[ -s "$scratch/first/stderr" ]] || { echo "$script: the run said nothing"; failed=1; }
exit $failed
