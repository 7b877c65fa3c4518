#!/usr/bin/env bash
# A blind player's match with the GNOME Orca screen reader, keys only.
# ZT_ORCA_GAMES: how many games (the whole match by default); with
# ZT_ORCA_BUS_RESTART=1, the accessibility bus restarts under the game and
# Orca must hear it again.
# Usage: orca.sh PROGRAM. Exits 77 (skipped) when Orca or speech is missing.
here=$(cd "$(dirname "$0")" && pwd)
program=$1
for tool in orca speech-dispatcher dbus-run-session /usr/libexec/at-spi-bus-launcher dbus-send; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is missing (packages orca, speech-dispatcher, speech-dispatcher-espeak-ng, at-spi2-core)"
    exit 77
  fi
done
# The game and Orca in the language the player listens for.
if [[ ${ZT_ORCA_LANGUAGE:-en} == it ]]; then
  export LANG=it_IT.UTF-8 LC_ALL= LANGUAGE=it
else
  export LANG=C.UTF-8 LC_ALL= LANGUAGE=
fi
source "$here/session.sh"
start_openbox

# A home of its own: Orca's and the speech server's settings, and speech
# sent to ALSA's null device (with no working output Orca waits for ever at
# its first interruption).
export HOME=$session_dir/home GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_CONFIG_HOME/speech-dispatcher"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
CONF

# What a desktop does when its screen reader is on: the accessibility bus,
# and its status saying a screen reader runs, which the toolkit reads.
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  for _ in $(seq 100); do
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus \
      org.freedesktop.DBus.Properties.Set string:org.a11y.Status \
      string:ScreenReaderEnabled variant:boolean:true >/dev/null 2>&1 && break
    sleep 0.1
  done
  /usr/bin/python3 "$0" "$1" "$2"
  status=$?
  pkill -P $$ 2>/dev/null
  exit $status
' "$here/orca_player.py" "$program" "$session_dir"
