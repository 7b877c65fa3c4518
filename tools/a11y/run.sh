#!/usr/bin/env bash
# Runs see_table.py against the program on a display and a session bus of
# its own. Usage: tools/a11y/run.sh PROGRAM [DISPLAY_NUMBER]
# Exits 77 (skipped) when Xvfb, the session bus or AT-SPI is missing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher /usr/bin/python3; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is missing (packages xvfb, dbus-daemon, at-spi2-core, python3-pyatspi)"
    exit 77
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "skipped: python3-pyatspi is missing"
  exit 77
fi

# A display of our own: the number given, or the first free one.
fifo=$(mktemp)
if [[ $# -ge 2 ]]; then
  Xvfb ":$2" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  display=$2
else
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
fi
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
for _ in $(seq 100); do
  [[ -z ${display:-} && -s $fifo ]] && display=$(head -n1 "$fifo")
  [[ -n ${display:-} ]] && [[ -e /tmp/.X11-unix/X$display ]] && break
  sleep 0.1
done
if [[ -z ${display:-} ]]; then
  echo "FAIL: Xvfb did not start"
  exit 1
fi
export DISPLAY=":$display"
dbus-run-session -- /usr/bin/python3 "$here/see_table.py" "$program"
