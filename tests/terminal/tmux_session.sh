# shellcheck shell=bash
# Sourced by the scripts that drive a program in a tmux pseudo-terminal as a user would: one
# tmux server per program run, screen captures, waiting for texts, key presses, and the count
# of failed checks. Expects `set -euo pipefail`; exits with 77 (skipped) without tmux.

command -v tmux >/dev/null || { echo "SKIP: tmux is not installed"; exit 77; }

# Each run gets a tmux server of its own: a new session on a server that is still shutting
# down can fail. The script's name and process id keep servers of parallel tests apart.
runs=0
socketPrefix="qtv-$(basename "$0" .sh)-$$"
socket="$socketPrefix-$runs"
tm() { tmux -L "$socket" -f /dev/null "$@"; }
# The server goes and so does its socket, which tmux leaves behind.
stopTmux() {
  local path
  path=$(tm display-message -p '#{socket_path}' 2>/dev/null) || return 0
  tm kill-server 2>/dev/null || true
  rm -f "$path"
}
trap stopTmux EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# startSession WIDTH HEIGHT COMMAND: a fresh session running the shell command; the shell then
# writes whether the terminal is back in line mode with echo ("icanon echo") and, on the next
# line, "exit=STATUS", so both are in sight once the status is, and waits.
startSession() {
  local width=$1 height=$2 command=$3
  stopTmux
  runs=$((runs + 1))
  socket="$socketPrefix-$runs"
  local modes="stty -a | tr ' ;' '\n\n' | grep -x -e icanon -e echo -e -icanon -e -echo | tr '\n' ' '"
  tm new-session -d -x "$width" -y "$height" "$command; status=\$?; $modes; echo; echo \"exit=\$status\"; sleep 600"
}

screen() { tm capture-pane -p; }

# The screen as text: wrapped lines joined, without blanks at line ends or empty lines at the
# end.
screenText() { tm capture-pane -p -J | sed 's/ *$//' | perl -0pe 's/\n+\z/\n/'; }

# The screen with line-drawing characters as such and without attributes.
readableScreen() {
  tm capture-pane -p -e | perl -CS -ne '
    BEGIN { %line = (q => "\x{2500}", x => "\x{2502}", l => "\x{250c}", k => "\x{2510}", m => "\x{2514}", j => "\x{2518}") }
    s/\e\[[0-9;]*m//g;
    my $out = "";
    for my $c (split //) {
      if ($c eq "\x0e") { $drawing = 1 } elsif ($c eq "\x0f") { $drawing = 0 }
      else { $out .= ($drawing && exists $line{$c}) ? $line{$c} : $c }
    }
    print $out;'
}

# waitFor TEXT: until the screen shows TEXT (10 seconds at most); waitForLine TEXT: until a
# whole line of the screen is TEXT.
waitFor() { waitForMatch -F "$1"; }
waitForLine() { waitForMatch -xF "$1"; }
waitForMatch() {
  for _ in $(seq 100); do
    screen | grep -q "$1" -- "$2" && return 0
    sleep 0.1
  done
  fail "the screen never showed '$2'"
  screen
  return 1
}

# waitWithout TEXT: until the screen no longer shows TEXT.
waitWithout() {
  for _ in $(seq 100); do
    screen | grep -qF -- "$1" || return 0
    sleep 0.1
  done
  fail "the screen still shows '$1'"
  return 1
}

expectLine() {
  screen | grep -qxF -- "$1" || { fail "expected the line '$1'"; screen; }
}

# expectScreen TEXT: the whole screen, as screenText gives it, is TEXT (lines joined with
# newlines).
expectScreen() {
  local shown
  shown=$(screenText)
  [ "$shown" = "$1" ] && return 0
  fail "the screen differs from the expected one (< expected, > shown)"
  diff <(echo "$1") <(echo "$shown") || true
}

keys() { tm send-keys "$@"; }

# The script's end: its status tells whether every check passed.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$1"
}
