#!/usr/bin/env bash
# On a PipeWire server of its own (PulseAudio's protocol, as Debian's desktops
# have it), the game's stream carries the desktop's name and icon, the role
# "game" and a stream name in the player's language; when the server restarts,
# the stream comes back by itself.
# Usage: sound_server.sh PROGRAM
set -uo pipefail
program=$1
for tool in pipewire wireplumber pipewire-pulse pactl dbus-daemon; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is missing (packages pipewire pipewire-pulse wireplumber pulseaudio-utils dbus-daemon)"
    exit 77
  fi
done

dir=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

mkdir -m 700 "$dir/runtime"
export XDG_RUNTIME_DIR=$dir/runtime HOME=$dir XDG_CONFIG_HOME=$dir/config
unset PULSE_SERVER SDL_AUDIODRIVER
read -r bus bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -sd' ')
export DBUS_SESSION_BUS_ADDRESS=$bus
pids+=("$bus_pid")
pipewire >/dev/null 2>&1 &
pids+=("$!")
wireplumber >/dev/null 2>&1 &
pids+=("$!")

start_pulse() {
  pipewire-pulse >/dev/null 2>&1 &
  pulse=$!
  pids+=("$pulse")
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "pipewire-pulse did not answer"
}

# The game's stream as the server lists it, within 10 s.
game_stream() {
  for _ in $(seq 100); do
    props=$(pactl list sink-inputs 2>/dev/null | grep -E '^\s*(application\.(name|icon_name)|media\.(name|role)) = ')
    grep -q 'application.name = "Zentolletto"' <<<"$props" && return 0
    sleep 0.1
  done
  return 1
}

start_pulse
LANG=it_IT.UTF-8 LC_ALL= LANGUAGE=it QT_QPA_PLATFORM=offscreen "$program" --seed 1 2>"$dir/stderr" &
pids+=("$!")
game_stream || fail "no stream named Zentolletto: $(pactl list sink-inputs | grep -E 'application.name|media.name')"
echo "$props"
for want in 'application.icon_name = "org.zentolletto.Zentolletto"' 'media.role = "game"' \
            'media.name = "Suoni delle carte e musica"'; do
  grep -qF "$want" <<<"$props" || fail "the stream lacks $want"
done

kill "$pulse"
wait "$pulse" 2>/dev/null
start_pulse
game_stream || fail "the stream did not come back after the sound server restarted"
echo "back after the server restarted"
