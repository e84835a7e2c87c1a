#!/usr/bin/env bash
# Drives the terminal form in a tmux pseudo-terminal as a user would, and checks what the form
# left in the run parameters, the message box answers, and that the terminal is restored.
#   terminal_form_test.sh DEMO ARTIFACT_DIR
# Leaves screen captures in ARTIFACT_DIR (terminal_form.txt: the form as first shown).
set -euo pipefail

demo=$1
artifacts=$2
mkdir -p "$artifacts"
# shellcheck source=tmux_session.sh
source "$(dirname "$0")/tmux_session.sh"

# start WIDTH HEIGHT [DEMO OPTIONS]: a fresh session running the demo.
start() {
  local width=$1 height=$2
  shift 2
  startSession "$width" "$height" "'$demo' $*"
}

# --- The form as first shown, then a user's choices and OK ------------------------------------
start 80 24
waitFor "(1000 steps)"
readableScreen >"$artifacts/terminal_form.txt"
for text in "QTV Dialog" "NODE MOTION" "Motion History is calculated with:" "Time Step DT = 0.01 up to time TT = 10." \
            "Start Time" "[0.0" "End Time" "[10." "[1 " "[x] Displacement" "[ ] Velocity" "[ ] Phase Plane" \
            "[ ] Acceleration" "[ ] X" "[x] Y" "[ ] Z" "Nodes" "Cancel" "OK"; do
  grep -qF -- "$text" "$artifacts/terminal_form.txt" || fail "the form lacks '$text'"
done
[ "$(wc -l <"$artifacts/terminal_form.txt")" -le 24 ] || fail "the form is taller than 24 rows"

# OK -> Cancel -> Start Time (its text marked), type; End Time; the node list: items 1 and 3;
# Phase Plane.
keys Tab Tab 2.5
waitFor "[2.5 "
keys Tab Tab Space Down Down Space Tab Space
waitFor "[x] Phase Plane"
readableScreen >"$artifacts/terminal_form_filled.txt"
keys Enter
waitFor "exit=0"
expectLine "button 1"
expectLine "tStart 2.5 tEnd 10 stepFrequency 1"
expectLine "displacement 1 velocity 0 phasePlane 1 acceleration 0"
expectLine "directions 010"
expectLine "nodes 2 4"
expectLine "icanon echo"
screen >"$artifacts/terminal_after_ok.txt"

# --- Escape cancels; the run parameters hold the form as of the last change ---------------------
start 80 24
waitFor "(1000 steps)"
keys Tab Tab 7 Escape
waitFor "exit=0"
expectLine "button 2"
expectLine "tStart 7 tEnd 10 stepFrequency 1"

# --- Enter on the focused Cancel button cancels; a long text scrolls in its box -------------------
start 80 24
waitFor "(1000 steps)"
# Step Frequency shows ten characters: the last nine typed and the caret.
keys Tab Tab Tab Tab Tab Tab 000000000000012
waitFor "[000000012 ]"
keys BTab BTab BTab BTab BTab Enter
waitFor "exit=0"
expectLine "button 2"
expectLine "tStart 0 tEnd 10 stepFrequency 0"

# --- Mouse clicks: Velocity, then OK ------------------------------------------------------------
start 80 24
waitFor "(1000 steps)"
row=$(screen | grep -nF "[ ] Velocity" | cut -d: -f1)
column=$(screen | grep -F "[ ] Velocity" | awk '{ print index($0, "[ ] Velocity") }')
okColumn=$(screen | grep -F "OK" | awk '{ print index($0, "OK") }')
# X10 mouse reports of a press and a release: ESC [ M, then 32 + button (3 is the release),
# 32 + column and 32 + row, both counted from 1.
click() {
  local position
  position=$(printf '%b%b' "\\$(printf '%03o' $((32 + $1)))" "\\$(printf '%03o' $((32 + $2)))")
  keys -l $'\e[M '"$position"$'\e[M#'"$position"
}
click "$column" "$row"
waitFor "[x] Velocity"
click "$okColumn" 23
waitFor "exit=0"
expectLine "button 1"
expectLine "displacement 1 velocity 1 phasePlane 0 acceleration 0"

# --- A terminal too small for the form, then large enough ---------------------------------------
start 60 20
waitFor "QTV needs a terminal of at least 80 x 24 characters"
keys Enter Space
tm resize-window -x 100 -y 30
waitFor "(1000 steps)"
readableScreen >"$artifacts/terminal_form_100x30.txt"
keys Escape
waitFor "exit=0"
expectLine "button 2"

# --- The message box after the form: Enter is Retry, Right Enter and 'c' are Cancel -------------
for answer in "Enter:Retry" "Right Enter:Cancel" "c:Cancel" "r:Retry" "Escape:Cancel"; do
  start 80 24 --box
  waitFor "(1000 steps)"
  keys Escape
  waitFor "Retry for another Browse."
  [ "$answer" = "Enter:Retry" ] && readableScreen >"$artifacts/terminal_message_box.txt"
  screen | grep -qF "QTV Message" || fail "the box lacks its caption"
  screen | grep -qF "[ Retry ]  [ Cancel ]" || fail "the box lacks its buttons"
  # shellcheck disable=SC2086
  keys ${answer%%:*}
  waitFor "exit=0"
  expectLine "answer ${answer##*:}"
  expectLine "icanon echo"
done

# --- The message box over the open form ----------------------------------------------------------
start 80 24 --box-on-phase-plane
waitFor "(1000 steps)"
keys Tab Tab Tab Tab Tab Space
waitFor "Retry for another Browse."
screen | grep -qF "NODE MOTION" || fail "the form is not in sight beneath the box"
readableScreen >"$artifacts/terminal_box_over_form.txt"
keys c
waitWithout "Retry for another Browse."
waitFor "[x] Phase Plane"
keys Enter
waitFor "exit=0"
expectLine "button 1"
expectLine "answers over the form Cancel"

# --- SIGTERM ends the program and leaves the terminal restored -----------------------------------
start 80 24
waitFor "(1000 steps)"
shell=$(tm display-message -p '#{pane_pid}')
program=$(pgrep -P "$shell" -f terminal_form_demo)
kill -TERM "$program"
waitFor "exit=143"
expectLine "icanon echo"

finish "all terminal form checks passed"
