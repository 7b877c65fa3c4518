#!/usr/bin/env bash
# Sourced by the desktop tests: a display of our own (the number in
# ZT_DISPLAY, or the first free one), the openbox window manager when asked
# for, and ways to look at the program's windows from outside.
# Exits 77 (skipped) when a tool is missing.
for tool in Xvfb openbox xdotool xprop xwininfo; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is missing (packages xvfb, openbox, xdotool, x11-utils)"
    exit 77
  fi
done

session_pids=()
end_session() {
  for p in "${session_pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$session_dir"
}
session_dir=$(mktemp -d)
trap end_session EXIT

# No reset: the server would start over when the check below disconnects,
# and a client connecting at that moment is refused.
if [[ -n ${ZT_DISPLAY:-} ]]; then
  Xvfb ":$ZT_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  display=$ZT_DISPLAY
else
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$session_dir/display" >/dev/null 2>"$session_dir/stderr-xvfb" &
fi
xvfb_pid=$!
session_pids+=("$xvfb_pid")
for _ in $(seq 100); do
  [[ -z ${display:-} && -s $session_dir/display ]] && display=$(head -n1 "$session_dir/display")
  [[ -n ${display:-} ]] && DISPLAY=":$display" xprop -root >/dev/null 2>&1 && break
  sleep 0.1
done
if ! DISPLAY=":${display:-none}" xprop -root >/dev/null 2>&1; then
  echo "FAIL: Xvfb did not start"
  exit 1
fi
export DISPLAY=":$display"
# Under the leak checker, what it was told to ignore is not the program's output.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0"
mkdir -m 700 "$session_dir/runtime"
export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$session_dir/config XDG_RUNTIME_DIR=$session_dir/runtime

# Starts the window manager and waits until it has taken the display.
start_openbox() {
  openbox >/dev/null 2>"$session_dir/stderr-openbox" &
  session_pids+=("$!")
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    sleep 0.1
  done
  kill -0 "${session_pids[-1]}" 2>/dev/null || fail "openbox did not start: it exited"
  fail "openbox did not start"
}

fail() {
  echo "FAIL: $*"
  for f in "$session_dir"/stderr*; do
    [[ -s $f ]] && echo "${f##*/}:" && cat "$f"
  done
  exit 1
}

# Waits for COUNT visible windows of the program; prints their ids.
program_windows() {
  local count=$1 ids
  for _ in $(seq 100); do
    ids=$(xdotool search --onlyvisible --name 'Zentolletto' 2>/dev/null)
    if [[ $(printf '%s\n' $ids | grep -c .) -ge $count ]]; then
      printf '%s\n' $ids
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The client's geometry on the screen: sets X Y W H.
client_geometry() {
  local info
  info=$(xwininfo -id "$1")
  X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  W=$(sed -n 's/^ *Width: *//p' <<<"$info")
  H=$(sed -n 's/^ *Height: *//p' <<<"$info")
}

# The frame the window manager drew around it: sets FL FR FT FB.
frame_extents() {
  local e
  e=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  IFS=, read -r FL FR FT FB <<<"${e:-0,0,0,0}"
}

# Clicks at a point of the 800 x 600 grid inside the window's client area.
click_grid() {
  local win=$1 gx=$2 gy=$3
  client_geometry "$win"
  xdotool mousemove --window "$win" $((gx * W / 800)) $((gy * H / 600)) click 1
}
