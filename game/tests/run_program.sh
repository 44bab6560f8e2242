#!/usr/bin/env bash
# Runs the real program from the run tree as ./run.sh does, headless, and
# checks what it says: the plug-ins load, and the run stops at the first
# piece not built yet, named, with a non-zero status; or, with every piece
# present, it reaches the main menu and leaves with 0 after the frames.
# Also its options: --help, and a bad option refused.
# Usage: run_program.sh <program> <data folder> [<scratch folder>]; with a
# scratch folder the runs use a copy of the run tree there (hard links), so
# what they write never reaches the tree other tests read.
set -uo pipefail
program=$1
data=$2
if [[ $# -ge 3 ]]; then
  scratch=$3
  rm -rf "$scratch"
  mkdir -p "$scratch" || exit 1
  cp -al "$(dirname "$data")"/. "$scratch"/ || { echo "cannot copy the run tree"; exit 1; }
  rm -f "$scratch/data/KV9.cfg"
  program=$scratch/$(basename "$program")
  data=$scratch/data
fi
cd "$data" || exit 1

help=$("$program" --help)
for option in "--frames <n>" "--fixed-step <ms>"; do
  grep -q -- "$option" <<<"$help" || { echo "--help does not list $option"; exit 1; }
done
"$program" --fixed-step 0 >/dev/null 2>&1
[[ $? -eq 2 ]] || { echo "a bad fixed step is not refused"; exit 1; }
"$program" --frames 0 >/dev/null 2>&1
[[ $? -eq 2 ]] || { echo "a bad frame count is not refused"; exit 1; }
"$program" --bogus >/dev/null 2>&1
[[ $? -eq 2 ]] || { echo "an unknown option is not refused"; exit 1; }

out=$("$program" --headless --fixed-step 16.667 --frames 3 2>&1)
status=$?
echo "$out" | tail -n 20
# Every statement of the start-up scripts is taken, and every file the start
# reads is in the run tree.
if echo "$out" | grep -E "statement .* refused|statements refused"; then
  echo "a start-up script statement was refused"; exit 1
fi
# (The player's own "KV9.cfg" is optional.)
if echo "$out" | grep -E "does not exist" | grep -v '"KV9.cfg"'; then
  echo "the start read a file the run tree does not hold"; exit 1
fi
if echo "$out" | grep -q "missing plug-in\|the plug-ins did not start\|could not start"; then
  echo "the plug-ins did not start"; exit 1
fi
if [[ $status -eq 0 ]]; then
  echo "$out" | grep -q "FINISHED INIT SYSTEM" || { echo "exit 0 without finishing the loading"; exit 1; }
  # Without its main menu's description file the start stops: said once and
  # a non-zero status, never a black screen that keeps running. (A scratch
  # copy of the run tree, hard links, without "main.gui".)
  scratch=$(mktemp -d)
  cp -al "$(dirname "$program")"/. "$scratch"/ && rm -f "$scratch/data/main.gui" "$scratch/data/KV9.cfg"
  broken=$(cd "$scratch/data" && timeout 100 ../"$(basename "$program")" --headless --frames 3 2>&1)
  broken_status=$?
  rm -rf "$scratch"
  [[ $broken_status -ne 0 && $broken_status -ne 124 ]] || { echo "no main.gui: status $broken_status"; exit 1; }
  [[ $(echo "$broken" | grep -c 'Loading failed: cannot read "main.gui"') -eq 1 ]] ||
    { echo "no main.gui: not said once"; echo "$broken" | tail -n 5; exit 1; }
  # A new game through the menus, by the scripted input: the world is built
  # on the chosen location, every file it reads is there, and closing the
  # window ends the program with 0.
  [[ -f new-game.input ]] || exit 0
  out=$("$program" --headless --fixed-step 16.667 --input new-game.input 2>&1)
  status=$?
  echo "$out" | tail -n 20
  [[ $status -eq 0 ]] || { echo "the new game ended with status $status"; exit 1; }
  echo "$out" | grep -q "the world is built" || { echo "the new game built no world"; exit 1; }
  if echo "$out" | grep -E "does not exist" | grep -v '"KV9.cfg"'; then
    echo "the new game read a file the run tree does not hold"; exit 1
  fi
  exit 0
fi
reason=$(echo "$out" | grep -E "^\[MessageBox\] Airport: (cannot create widget kind [0-9]+|Loading failed at \".*\": (no spawn SPN::[A-Z0-9:]+|.* set-up failed))$")
[[ -n "$reason" ]] || { echo "status $status without a named reason"; exit 1; }
# The managers that are built must load: a run may stop only at a later one.
built="GAME|SCENARIO|AUDIO:MANAGER|ALPHAMANAGER|TERRAIN:MANAGER|TERRAIN:TERRAIN|ROAD:MANAGER|TAXIWAY:MANAGER|GAMEPLOT|AMBIENTMANAGER|CONTRACTMANAGER"
if echo "$reason" | grep -Eq "(no spawn SPN::KV9:($built)|SPN::KV9:($built) set-up failed)$"; then
  echo "the run stopped at a manager that is built"; exit 1
fi
exit 0
