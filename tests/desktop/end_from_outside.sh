#!/usr/bin/env bash
# Two programs started at once both run; SIGTERM, SIGINT and SIGHUP in the
# middle of a game end each with status 0, also one started with its output
# closed and one whose sound server never answers; a display that goes away
# ends the program with one line saying so, also while it starts; a display
# library that hangs at exit does not keep the program after Ctrl+Q.
# Usage: end_from_outside.sh PROGRAM
set -uo pipefail
program=$1
source "$(dirname "$0")/session.sh"
start_openbox

# Waits for process PID to end (a hang fails); sets STATUS and MS, the
# milliseconds since START.
ended() {
  local pid=$1 start=$2
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null && fail "process $pid still running 10 s later"
  wait "$pid"
  STATUS=$?
  MS=$((($(date +%s%N) - start) / 1000000))
}

for sig in TERM INT HUP; do
  "$program" 2>"$session_dir/a.err" &
  a=$!
  "$program" 2>"$session_dir/b.err" &
  b=$!
  session_pids+=("$a" "$b")
  mapfile -t wins < <(program_windows 2) || fail "two programs started at once: not both showed"
  ((${#wins[@]} == 2)) || fail "two programs started at once: ${#wins[@]} windows"
  # GO in both: the shuffle, the deal and the first moves under way.
  for w in "${wins[@]}"; do click_grid "$w" 465 440; done
  sleep 1
  start=$(date +%s%N)
  kill -"$sig" "$a" "$b"
  ended "$a" "$start"
  sa=$STATUS ta=$MS
  ended "$b" "$start"
  sb=$STATUS tb=$MS
  echo "SIG$sig: exit $sa after $ta ms, exit $sb after $tb ms"
  ((sa == 0 && sb == 0)) || fail "SIG$sig did not end the program with status 0 ($sa, $sb): $(cat "$session_dir/a.err" "$session_dir/b.err")"
done

# Started with stdout and stderr closed and no runtime folder, whose notice
# would then go into the X connection.
env -u XDG_RUNTIME_DIR "$program" >&- 2>&- &
p=$!
session_pids+=("$p")
program_windows 1 >/dev/null || fail "started with stdout and stderr closed: the window never showed"
start=$(date +%s%N)
kill -TERM "$p"
ended "$p" "$start"
echo "stdout and stderr closed: exit $STATUS after $MS ms"
((STATUS == 0)) || fail "started with stdout and stderr closed: status $STATUS"

# A sound server that takes the connection and never answers holds the audio
# thread in the kernel from GO on; SIGTERM still ends the program.
python3 -c 'import socket, sys, time
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen(4)
time.sleep(120)' "$session_dir/pulse" &
session_pids+=("$!")
for _ in $(seq 50); do [[ -S $session_dir/pulse ]] && break; sleep 0.1; done
SDL_AUDIODRIVER=pulseaudio PULSE_SERVER="unix:$session_dir/pulse" "$program" 2>"$session_dir/pulse.err" &
p=$!
session_pids+=("$p")
win=$(program_windows 1 | head -n1) || fail "with a sound server that never answers: the window never showed"
click_grid "$win" 465 440
sleep 1
start=$(date +%s%N)
kill -TERM "$p"
ended "$p" "$start"
echo "a sound server that never answers: exit $STATUS after $MS ms"
((STATUS == 0 && MS < 3000)) || fail "with a sound server that never answers: status $STATUS after $MS ms"

# A display library whose goodbye never returns, as Qt's Wayland plugin can
# deadlock at exit: Ctrl+Q still ends the program, with status 0.
if command -v cc >/dev/null 2>&1; then
  printf '#include <unistd.h>\nvoid xcb_disconnect(void *c) { (void)c; for (;;) pause(); }\n' >"$session_dir/stuck.c"
  cc -shared -fPIC -o "$session_dir/stuck.so" "$session_dir/stuck.c" || fail "cc could not build the stuck library"
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" LD_PRELOAD="$session_dir/stuck.so" \
    "$program" 2>"$session_dir/stuck.err" &
  p=$!
  session_pids+=("$p")
  win=$(program_windows 1 | head -n1) || fail "with a teardown that never returns: the window never showed"
  xdotool windowactivate --sync "$win" key ctrl+q 2>/dev/null || xdotool key --window "$win" ctrl+q
  start=$(date +%s%N)
  ended "$p" "$start"
  echo "teardown that never returns: exit $STATUS after $MS ms"
  ((STATUS == 0)) || fail "with a teardown that never returns: status $STATUS: $(cat "$session_dir/stuck.err")"
else
  echo "teardown that never returns: not checked, cc is missing"
fi

# The display goes away under a running game.
"$program" 2>"$session_dir/gone.err" &
p=$!
session_pids+=("$p")
win=$(program_windows 1 | head -n1) || fail "the window never showed"
click_grid "$win" 465 440
sleep 1
start=$(date +%s%N)
kill "$xvfb_pid"
ended "$p" "$start"
s=$STATUS t=$MS
lines=$(grep -c . "$session_dir/gone.err")
echo "display gone: exit $s after $t ms, saying: $(cat "$session_dir/gone.err")"
((lines == 1)) || fail "not one line when the display went away but $lines"

# The X server goes away while the program starts: Qt, Xlib and the program
# would each say so. One line of the program's own, status 1, at once (well
# under the 3 s it once took, on a loaded machine too).
for delay in 0.05 0.1 0.12 0.15 0.3; do
  Xvfb -displayfd 4 -screen 0 800x600x24 -nolisten tcp -noreset 4>"$session_dir/early" >/dev/null 2>&1 &
  early=$!
  session_pids+=("$early")
  for _ in $(seq 100); do [[ -s $session_dir/early ]] && DISPLAY=":$(head -n1 "$session_dir/early")" xprop -root >/dev/null 2>&1 && break; sleep 0.05; done
  DISPLAY=":$(head -n1 "$session_dir/early")" "$program" 2>"$session_dir/early.err" &
  p=$!
  session_pids+=("$p")
  sleep "$delay"
  kill "$early"
  ended "$p" "$(date +%s%N)"
  echo "X server gone after $delay s: exit $STATUS after $MS ms, saying: $(cat "$session_dir/early.err")"
  ((STATUS == 1 && MS < 2000)) || fail "X server gone after $delay s: status $STATUS after $MS ms"
  [[ $(grep -c . "$session_dir/early.err") == 1 ]] && grep -q "^zentolletto: .*display :" "$session_dir/early.err" ||
    fail "X server gone after $delay s: not the program's one line"
  wait "$early" 2>/dev/null
  : >"$session_dir/early"
done
echo "PASS: both programs ran and ended by SIGTERM, SIGINT and SIGHUP with status 0; a hung teardown bounded; display loss reported"
