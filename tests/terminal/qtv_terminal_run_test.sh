#!/usr/bin/env bash
# Runs the built qtv without a display in a tmux pseudo-terminal of 80 x 24 characters, as a
# user over SSH would: the folder typed at the console prompt, the terminal form, the terminal
# message boxes, the console lines of the extraction and the final key press.
#   qtv_terminal_run_test.sh QTV QTV_MAKECASE ARTIFACT_DIR
# Leaves the form as first shown in ARTIFACT_DIR/qtv_terminal_form.txt.
set -euo pipefail

qtv=$1
makecase=$2
artifacts=$3
mkdir -p "$artifacts"
# shellcheck source=tmux_session.sh
source "$(dirname "$0")/tmux_session.sh"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/qtv-terminal-run.XXXXXX")
trap 'stopTmux; rm -rf "$scratch"' EXIT

# Six nodes (node 1 is the restrained base, so the list offers 2 to 6), three degrees of
# freedom, DT 0.1 up to TT 1.
work="$scratch/case"
"$makecase" --nodes 6 --dof 3 --dt 0.1 --duration 1 --out "$work" >/dev/null
empty="$scratch/empty"
mkdir "$empty"

prompt=" Input Working Directory:"
formShown="(10 steps)"

# A session running qtv in the scratch folder with no display to open windows on, which has
# typed FOLDER at the folder prompt. The shell outlives a Ctrl-C to report on qtv's end.
startQtv() {
  startSession 80 24 "trap : INT; cd '$scratch' && unset DISPLAY WAYLAND_DISPLAY && '$qtv'"
  waitFor "$prompt"
  keys -l "$1"
  keys Enter
}

# waitForBox TEXT CAPTION: until a terminal message box shows TEXT; it has the caption and the
# buttons.
waitForBox() {
  waitFor "$1"
  for text in "[ Retry ]  [ Cancel ]" "$2"; do
    screen | grep -qF -- "$text" || fail "the box showing '$1' lacks '$text'"
  done
}

# --- A whole run: Start Time, Velocity, nodes 3 and 5, OK -----------------------------------------
startQtv "$work"
waitFor "$formShown"
readableScreen >"$artifacts/qtv_terminal_form.txt"
for text in "QTV Dialog" "Time Step DT = 0.1 up to time TT = 1." "[0.0 " "[1. " "[x] Displacement" \
            "[ ] Velocity" "[ ] X" "[ ] Y" "[x] Z" "OK" "Cancel"; do
  grep -qF -- "$text" "$artifacts/qtv_terminal_form.txt" || fail "the form lacks '$text'"
done
# OK -> Cancel -> Start Time (its text marked, so typing replaces it) -> End Time -> the node
# list (2, 3, 4, ...): items 3 and 5 -> Phase Plane -> Step Frequency -> Displacement -> Velocity.
keys Tab Tab
keys -l 0.5
keys Tab Tab Down Space Down Down Space Tab Tab Tab Tab Space
waitFor "[x] Velocity"
for text in "[0.5 " "*3" "*5"; do
  screen | grep -qF -- "$text" || fail "the filled form lacks '$text'"
done
keys Enter
waitFor "Press any key"
console="$prompt$work
 No. of Selected Nodes = 2
 Creating Files:
 Node 3:
 z: $work/3z.dep
 z: $work/3z.vit
 * Working for node 3 ...
 Node 5:
 z: $work/5z.dep
 z: $work/5z.vit
 * Working for node 5 ...
 *QTV finished

Press any key"
expectScreen "$console"
files=$(cd "$work" && LC_ALL=C && echo *)
[ "$files" = "3z.dep 3z.vit 5z.dep 5z.vit comdin.dat u01.unf u2.unf" ] || fail "the work folder holds $files"
# Steps 5 to 10 of DT 0.1: the times 0.5 to 1.
for file in 3z.dep 3z.vit 5z.dep 5z.vit; do
  [ -f "$work/$file" ] || continue
  [ "$(wc -l <"$work/$file")" -eq 6 ] || fail "$file has $(wc -l <"$work/$file") lines, not 6"
  [ "$(head -n 1 "$work/$file" | awk '{ print $1 }')" = "0.5000000" ] || fail "$file does not start at 0.5"
  [ "$(tail -n 1 "$work/$file" | awk '{ print $1 }')" = "1.000000" ] || fail "$file does not end at 1"
done
# The program waits for the key, and ends without writing more.
sleep 0.5
screen | grep -qF "exit=" && fail "qtv ended before a key was pressed"
keys x
waitFor "exit="
expectScreen "$console
icanon echo
exit=0"

# --- Ctrl-C while the program waits for the key: the terminal is restored -------------------------
startQtv "$work"
waitFor "$formShown"
# OK -> Cancel -> Start Time -> End Time -> the node list: item 2.
keys Tab Tab Tab Tab Space
waitFor "*2"
keys Enter
waitFor "Press any key"
keys C-c
waitFor "exit="
expectLine "exit=130"
expectLine "icanon echo"

# --- Escape in the form ends the run at once ------------------------------------------------------
startQtv "$work"
waitFor "$formShown"
keys Escape
waitFor "exit="
expectScreen "$prompt$work
icanon echo
exit=0"

# --- OK without a node, Retry: a fresh form; then Escape ------------------------------------------
startQtv "$work"
waitFor "$formShown"
keys Tab Tab
keys -l 0.5
keys Tab Tab Tab Tab Tab Tab Space
waitFor "[x] Velocity"
keys Enter
waitForBox "No Node has been selected" "QTV: ERROR"
readableScreen >"$artifacts/qtv_terminal_no_node_box.txt"
keys r
waitFor "$formShown"
for text in "[0.0 " "[ ] Velocity"; do
  screen | grep -qF -- "$text" || fail "the form after Retry lacks '$text'"
done
keys Escape
waitFor "exit="
expectScreen "$prompt$work
icanon echo
exit=0"

# --- A folder without comdin.dat and u01.unf: Retry asks again, Cancel ends the run ---------------
startQtv "$empty"
waitForBox "Not all the needed files exist in this directory." "QTV Message"
keys r
waitForLine "$prompt"
keys -l "$empty"
keys Enter
waitForBox "Not all the needed files exist in this directory." "QTV Message"
keys c
waitFor "exit="
expectScreen "$prompt$empty
$prompt$empty
icanon echo
exit=0"

finish "all qtv terminal run checks passed"
