#!/usr/bin/env bash
# The program as a player first meets it, in brief: --help and --version
# answer without a display; on a display of its own the window shows, GO
# deals, a click plays a card from the hand, and QUIT (Ctrl+Q) ends it with
# status 0. Under Wayland too when weston is there, but for the card. The suite runs it on the
# built program, Debian's autopkgtest on the installed one.
# Usage: smoke.sh PROGRAM
set -uo pipefail
program=$1

for option in --help --version; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C.UTF-8 LANGUAGE= "$program" "$option" 2>&1)
  status=$?
  ((status == 0)) || { echo "FAIL: $option without a display: status $status: $out"; exit 1; }
  grep -qi zentolletto <<<"$out" || { echo "FAIL: $option does not name the program: $out"; exit 1; }
  echo "$option: $(head -n1 <<<"$out")"
done

for tool in xwd python3; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is missing (packages x11-apps, python3)"
    exit 77
  fi
done
source "$(dirname "$0")/session.sh"
start_openbox

# A fingerprint of the pixels of the grid rectangle X Y W H (800 x 600 grid
# units) in the picture of window WIN, whose client area is CW x CH pixels.
fingerprint() {
  local win=$1 x=$2 y=$3 w=$4 h=$5 cw=$6 ch=$7
  xwd -silent -id "$win" | python3 -c '
import hashlib, struct, sys
x, y, w, h, cw, ch = map(int, sys.argv[1:])
d = sys.stdin.buffer.read()
f = struct.unpack(">25I", d[:100])
size, bpp, bpl, ncolors = f[0], f[11], f[12], f[19]
data = d[size + 12 * ncolors:]
x0, x1 = x * cw // 800 * bpp // 8, (x + w) * cw // 800 * bpp // 8
rows = range(y * ch // 600, (y + h) * ch // 600)
print(hashlib.md5(b"".join(data[r * bpl + x0:r * bpl + x1] for r in rows)).hexdigest())' "$x" "$y" "$w" "$h" "$cw" "$ch"
}

# The middle of the first slot of the player's hand: inside it on X11, and
# on Wayland too, where Qt's own title bar (up to 40 pixels) shifts the
# table down a little.
hand_slot() { fingerprint "$1" 330 505 48 85 "$2" "$3"; }

# Window WIN (CW x CH pixels) of process PID: GO (the command GO) deals, a
# click (CLICK X Y, grid units; - for none) on the first hand card plays it,
# Ctrl+Q ends the program with status 0. WHERE names the display in messages.
play_and_quit() {
  local win=$1 pid=$2 cw=$3 ch=$4 go=$5 click=$6 where=$7
  local empty dealt= now=
  empty=$(hand_slot "$win" "$cw" "$ch")
  # Dealt once the slot changes and then holds still. A window that has not
  # yet got the keys loses GO's key: until the slot changes, GO again. On a
  # busy machine a deal takes long: time, not tries, bounds the waits.
  local until=$((SECONDS + 60)) next_go=0
  while ((SECONDS < until)); do
    ((SECONDS >= next_go)) && [[ ${now:-$empty} == "$empty" ]] && { $go; next_go=$((SECONDS + 8)); }
    sleep 0.3
    now=$(hand_slot "$win" "$cw" "$ch")
    [[ $now != "$empty" && $now == "$dealt" ]] && break
    dealt=$now
  done
  [[ $now != "$empty" && $now == "$dealt" ]] || fail "$where: after GO no card came to the hand"
  if [[ $click == - ]]; then
    echo "$where: window shown, GO dealt"
  else
    # The computer may lead: until it is the player's turn the click is refused.
    until=$((SECONDS + 60))
    while ((SECONDS < until)); do
      $click 354 548
      sleep 0.5
      now=$(hand_slot "$win" "$cw" "$ch")
      [[ $now != "$dealt" ]] && break
    done
    [[ $now != "$dealt" ]] || fail "$where: a click on the first hand card did not play it"
    echo "$where: window shown, GO dealt, a card played"
  fi
  xdotool key ctrl+q
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$where: QUIT did not end the program"
  wait "$pid"
  local status=$?
  ((status == 0)) || fail "$where: QUIT ended the program with status $status: $(cat "$session_dir/stderr-program")"
  echo "$where: QUIT ended it with status 0"
}

x11_go() { click_grid "$x11_win" 465 440; }
x11_click() { click_grid "$x11_win" "$1" "$2"; }
"$program" 2>"$session_dir/stderr-program" &
pid=$!
session_pids+=("$pid")
x11_win=$(program_windows 1 | head -n1) || fail "X11: the window never showed"
client_geometry "$x11_win"
play_and_quit "$x11_win" "$pid" "$W" "$H" x11_go x11_click X11

# Natively under Wayland: weston on its X11 back end only so that xdotool
# can give it input; the program is told of no X display.
if ! command -v weston >/dev/null 2>&1; then
  echo "PASS: --help, --version, and on X11 the window, GO, a card played and QUIT with status 0 (no weston: Wayland not tried)"
  exit 0
fi
export WAYLAND_DISPLAY=zentolletto-smoke
weston --backend=x11-backend.so --shell=kiosk-shell.so --width=800 --height=600 --socket="$WAYLAND_DISPLAY" \
  --idle-time=0 >"$session_dir/weston.log" 2>&1 &
session_pids+=("$!")
for _ in $(seq 100); do
  output=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Weston Compositor.*/\1/p')
  [[ -n $output && -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break
  sleep 0.1
done
[[ -n $output ]] || fail "weston did not start: $(cat "$session_dir/weston.log")"
# A click beside the table gives the window the keys; Space is GO.
wayland_go() {
  xdotool mousemove --window "$output" 790 300 click 1
  sleep 0.5
  xdotool key space
}
before=$(fingerprint "$output" 0 0 800 600 800 600)
env -u DISPLAY QT_QPA_PLATFORM=wayland "$program" 2>"$session_dir/stderr-program" &
pid=$!
session_pids+=("$pid")
for _ in $(seq 150); do
  [[ $(fingerprint "$output" 0 0 800 600 800 600) != "$before" ]] && break
  kill -0 "$pid" 2>/dev/null || fail "Wayland: the program ended before its window showed: $(cat "$session_dir/stderr-program")"
  sleep 0.1
done
sleep 1
# Where Qt draws its own title bar the table's place is not known exactly:
# the card is played on X11 only.
play_and_quit "$output" "$pid" 800 600 wayland_go - Wayland

echo "PASS: --help, --version, on X11 the window, GO, a card played and QUIT with status 0, on Wayland all but the card"
