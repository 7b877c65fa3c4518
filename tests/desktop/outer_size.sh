#!/usr/bin/env bash
# Without a window manager the 800 x 600 window is centred; under one the
# whole window, frame and title bar included, is 800 x 600 and centred with
# its title bar on the screen, also when the frame comes long after the
# window showed; a size the user gives it afterwards is kept.
# Usage: outer_size.sh PROGRAM
set -uo pipefail
program=$1
source "$(dirname "$0")/session.sh"

# Waits for the outer size of WINDOW to be 800 x 600; fails naming what it is.
expect_outer_800x600() {
  local win=$1
  for _ in $(seq 50); do
    client_geometry "$win"
    frame_extents "$win"
    ((W + FL + FR == 800 && H + FT + FB == 600)) && break
    sleep 0.1
  done
  echo "client ${W}x${H} at $X,$Y; frame left $FL right $FR top $FT bottom $FB"
  ((FT > 0)) || fail "no title bar: the window manager drew no frame"
  ((W + FL + FR == 800 && H + FT + FB == 600)) || fail "outer size $((W + FL + FR))x$((H + FT + FB)), not 800x600"
  local left=$((X - FL)) top=$((Y - FT))
  ((top >= 0 && left >= 0)) || fail "title bar off the screen at $left,$top"
  ((left == (1280 - 800) / 2 && top == (1024 - 600) / 2)) || fail "not centred: at $left,$top"
}

# Waits up to five seconds for the client area of window $1 to be $2 x $3.
wait_client_size() {
  for _ in $(seq 50); do
    client_geometry "$1"
    ((W == $2 && H == $3)) && return 0
    sleep 0.1
  done
  return 1
}

# The window shows on a bare display; the frame comes only when a window
# manager starts, well after.
"$program" 2>"$session_dir/stderr1" &
session_pids+=("$!")
first=$(program_windows 1 | head -n1) || fail "the window never showed"
wait_client_size "$first" 800 600 || fail "without a frame the client is ${W}x${H}"
((X == (1280 - 800) / 2 && Y == (1024 - 600) / 2)) || fail "without a window manager not centred: at $X,$Y"
sleep 1
start_openbox
expect_outer_800x600 "$first"

# The user's own size stands.
xdotool windowsize "$first" 1000 700
wait_client_size "$first" 1000 700 || fail "the resize to 1000x700 never arrived (${W}x${H})"
sleep 1
client_geometry "$first"
((W == 1000 && H == 700)) || fail "the user's size was taken back: ${W}x${H}"

# Started with the window manager already there.
"$program" 2>"$session_dir/stderr2" &
session_pids+=("$!")
second=$(program_windows 2 | grep -vx "$first" | head -n1) || fail "the second window never showed"
expect_outer_800x600 "$second"
echo "PASS: outer size 800x600 with a late frame and an early one; the user's 1000x700 kept"
