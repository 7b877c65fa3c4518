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

# A display of our own: the number given, or the first free one from 90 on.
start_xvfb() {
  [[ -e /tmp/.X$1-lock || -e /tmp/.X11-unix/X$1 ]] && return 1
  Xvfb ":$1" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    [[ -e /tmp/.X11-unix/X$1 ]] && return 0
    kill -0 $xvfb 2>/dev/null || return 1
    sleep 0.1
  done
  kill $xvfb 2>/dev/null
  return 1
}
xvfb=
trap '[[ -n $xvfb ]] && kill $xvfb 2>/dev/null' EXIT
display=
for n in ${2:-$(seq 90 199)}; do
  if start_xvfb "$n"; then display=$n; break; fi
done
if [[ -z $display ]]; then
  echo "FAIL: Xvfb did not start"
  exit 1
fi
export DISPLAY=":$display"
dbus-run-session -- /usr/bin/python3 "$here/see_table.py" "$program"
