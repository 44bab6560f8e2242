#!/usr/bin/env bash
# Plays a committed input script on the real program, headless, on a fixed
# step of 16.667 ms and without a frame limit, as
# ./run.sh --headless --fixed-step 16.667 --input <script> does. The program runs
# from a scratch copy of the run tree (hard links, the settings file left
# out), so the settings it writes never reach the run tree other tests read.
# Usage: run_input_script.sh <run tree> <script name> <scratch folder> <check>
#   check "options-applied": the tour's options were written (snow off);
#   check "new-game": a new game started before the window was closed, and
#     F5 in the game view saved "ScreenShot1.bmp" in the resource folder.
# The run must end by itself with status 0: the script's own EXIT or close.
set -uo pipefail
tree=$1
script=$2
scratch=$3
check=$4

rm -rf "$scratch"
mkdir -p "$scratch" || exit 1
cp -al "$tree"/. "$scratch"/ || { echo "cannot copy the run tree"; exit 1; }
rm -f "$scratch/data/KV9.cfg" "$scratch"/data/ScreenShot*.bmp
cd "$scratch/data" || exit 1
out=$(./../airport --headless --fixed-step 16.667 --input "$script" 2>&1)
status=$?
echo "$out" | grep -v "statement .* refused\|does not exist" | tail -n 20
[[ $status -eq 0 ]] || { echo "$script: exit status $status"; exit 1; }
case "$check" in
  options-applied)
    grep -Eq 'setting[[:space:]]+snowaccumulation[[:space:]]+"false"' KV9.cfg ||
      { echo "$script: the options were not applied (KV9.cfg)"; exit 1; } ;;
  new-game)
    echo "$out" | grep -q "\[ActionStartScenario\] a new game started" ||
      { echo "$script: no new game started"; exit 1; }
    [[ -s ScreenShot1.bmp ]] || { echo "$script: F5 saved no ScreenShot1.bmp"; exit 1; } ;;
  *) echo "unknown check $check"; exit 1 ;;
esac
exit 0
