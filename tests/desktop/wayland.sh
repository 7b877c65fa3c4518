#!/usr/bin/env bash
# The real program as a native Wayland client of weston: its window shows,
# the menu opens by a click and by F10, Space presses GO, Ctrl+Q ends it with
# status 0, all with Qt's own -style option given; on a screen too small for
# it, it starts maximised. Weston runs on its X11
# backend inside our own Xvfb only because xdotool can give it input there;
# the program is told of no X display. Usage: wayland.sh PROGRAM
set -uo pipefail
program=$1
for tool in weston weston-debug xwd; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is missing (packages weston, x11-apps)"
    exit 77
  fi
done
source "$(dirname "$0")/session.sh"

export WAYLAND_DISPLAY=zentolletto-test
weston --backend=x11-backend.so --shell=kiosk-shell.so --width=800 --height=600 --socket="$WAYLAND_DISPLAY" \
  --debug --idle-time=0 >"$session_dir/weston.log" 2>&1 &
session_pids+=("$!")
for _ in $(seq 100); do
  output=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Weston Compositor.*/\1/p')
  [[ -n $output && -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break
  sleep 0.1
done
[[ -n $output ]] || fail "weston did not start"

# What weston shows of the program's surfaces, one line each.
surfaces() { weston-debug scene-graph 2>/dev/null | grep -o "role [a-z_]*, PID $pid[^(]*"; }
# Waits until the program has COUNT menus open.
menus_open() {
  for _ in $(seq 50); do
    (($(surfaces | grep -c xdg_popup) == $1)) && return 0
    sleep 0.1
  done
  return 1
}

env -u DISPLAY QT_QPA_PLATFORM=wayland "$program" -style fusion 2>"$session_dir/stderr-program" &
pid=$!
session_pids+=("$pid")
for _ in $(seq 150); do
  surfaces | grep -q "xdg_toplevel.*Zentolletto" && break
  if ! kill -0 "$pid" 2>/dev/null; then
    if grep -q 'platform plugin "wayland"' "$session_dir/stderr-program"; then
      echo "skipped: Qt's Wayland plugin is missing (package qt6-wayland)"
      exit 77
    fi
    fail "the program ended before its window showed"
  fi
  sleep 0.1
done
surfaces | grep -q "xdg_toplevel.*Zentolletto" || fail "no window on weston: $(surfaces)"
echo "window: $(surfaces | grep xdg_toplevel)"

# F10 first: weston refuses a menu a key opens once a click opened one. The
# keyboard comes to a window some time after it shows; until then, again.
xdotool mousemove --window "$output" 700 300
for _ in $(seq 10); do
  xdotool key F10
  menus_open 1 && break
done
menus_open 1 || fail "F10 opened no menu"
xdotool key Escape
menus_open 0 || fail "Escape left the menu open"
xdotool mousemove --window "$output" 10 300 click 1
menus_open 1 || fail "a click on the menu strip opened no menu"
xdotool key Escape
menus_open 0 || fail "Escape left the menu open"

# Space presses GO: the table changes.
xwd -silent -id "$output" >"$session_dir/before.xwd"
xdotool key space
sleep 3
xwd -silent -id "$output" >"$session_dir/after.xwd"
cmp -s "$session_dir/before.xwd" "$session_dir/after.xwd" && fail "Space changed nothing on the table"

xdotool key ctrl+q
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not end the program"
wait "$pid"
status=$?
((status == 0)) || fail "Ctrl+Q ended the program with status $status: $(cat "$session_dir/stderr-program")"

# A screen too small for the window (a 1080p laptop at twice the scale is
# 960 x 540): its compositor may centre it with the title bar above the top,
# and no protocol tells the program that bar's height. It starts maximised.
weston --backend=headless-backend.so --width=640 --height=480 --socket=zentolletto-small --idle-time=0 \
  >"$session_dir/weston-small.log" 2>&1 &
small=$!
session_pids+=("$small")
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/zentolletto-small ]] && break; sleep 0.05; done
env -u DISPLAY WAYLAND_DISPLAY=zentolletto-small WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland "$program" \
  2>"$session_dir/small.err" &
pid=$!
session_pids+=("$pid")
for _ in $(seq 150); do grep -q 'xdg_toplevel@[0-9]*\.configure' "$session_dir/small.err" && break; sleep 0.1; done
grep -q 'xdg_toplevel@[0-9]*\.configure' "$session_dir/small.err" || fail "no window on a 640 x 480 screen"
grep -q 'xdg_toplevel@[0-9]*\.set_maximized()' "$session_dir/small.err" ||
  fail "on a 640 x 480 screen the window did not start maximised"
echo "640 x 480 screen: the window starts maximised"
kill "$pid" "$small"

# A compositor that goes away while the program starts or plays: one line
# of the program's own naming it, status 1, at once.
for delay in 0.05 0.1 0.2 0.3 1; do
  weston --backend=headless-backend.so --socket=zentolletto-gone --idle-time=0 >"$session_dir/weston-gone.log" 2>&1 &
  gone=$!
  session_pids+=("$gone")
  for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/zentolletto-gone ]] && break; sleep 0.05; done
  env -u DISPLAY WAYLAND_DISPLAY=zentolletto-gone QT_QPA_PLATFORM=wayland "$program" 2>"$session_dir/gone.err" &
  pid=$!
  session_pids+=("$pid")
  sleep "$delay"
  kill "$gone"
  start=$(date +%s%N)
  for _ in $(seq 60); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$pid" 2>/dev/null && fail "compositor gone after $delay s: the program still runs 3 s later"
  wait "$pid"
  status=$?
  ms=$((($(date +%s%N) - start) / 1000000))
  wait "$gone" 2>/dev/null
  echo "compositor gone after $delay s: status $status after $ms ms: $(cat "$session_dir/gone.err")"
  ((status == 1 && ms < 2000)) || fail "compositor gone after $delay s: status $status after $ms ms"
  [[ $(grep -c . "$session_dir/gone.err") == 1 ]] && grep -q "^zentolletto: .*Wayland compositor zentolletto-gone" \
    "$session_dir/gone.err" || fail "compositor gone after $delay s: not the program's one line"
done
echo "PASS: native on Wayland: window, menu by click and F10, Space, Ctrl+Q with status 0, maximised on a small screen, compositor loss in one line"
