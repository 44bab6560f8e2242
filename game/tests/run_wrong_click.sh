#!/usr/bin/env bash
# Plants a wrong target in one click comment of a committed input script and
# plays it on the real program (headless, fixed step, in a scratch copy of
# the run tree): the run must stop with status 1 and say which line's click
# missed, and what it landed on.
# Usage: run_wrong_click.sh <run tree> <script name> <scratch folder> <aimed at> <planted>
set -uo pipefail
tree=$1
script=$2
scratch=$3
aimed=$4
planted=$5

rm -rf "$scratch"
mkdir -p "$scratch" || exit 1
cp -al "$tree"/. "$scratch"/ || { echo "cannot copy the run tree"; exit 1; }
rm -f "$scratch/data/KV9.cfg"
cd "$scratch/data" || exit 1
grep -q "^# click $aimed:" "$script" || { echo "$script has no click on $aimed"; exit 1; }
# The release the comment aims is the first "button up 0" after it.
line=$(awk -v c="# click $aimed:" 'index($0, c) == 1 { aim = 1 } aim && $2 == "button" && $3 == "up" && $4 == "0" { print NR; exit }' "$script")
[[ -n "$line" ]] || { echo "no release after the click on $aimed"; exit 1; }
sed "s/^# click $aimed:/# click $planted:/" "$script" > planted.input

out=$(./../airport --headless --fixed-step 16.667 --input planted.input 2>&1)
status=$?
echo "$out" | grep "planted.input" | tail -n 5
[[ $status -eq 1 ]] || { echo "the planted click ended with status $status, not 1"; exit 1; }
want="airport: planted.input line $line: the click aimed at $planted lands on $aimed"
echo "$out" | grep -qxF "$want" || { echo "no message: $want"; exit 1; }
exit 0
