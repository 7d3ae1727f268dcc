#!/usr/bin/env bash
# run_and_cancel.sh EXE: starts the installer on the bench's display as a user
# does, waits for its welcome page, clicks its close button and then "确认" on
# the cancel-confirm prompt, and exits with the installer's exit code. The
# waits only catch hangs.
set -uo pipefail
exe=$1
root=$(cd "$(dirname "$0")/.." && pwd)
layout=$root/tests/page_layout.py
find_window() {  # find_window W H: a visible window of the installer of that size
  local id geometry
  for _ in $(seq 1 600); do
    for id in $(xdotool search --onlyvisible --name 'Velora' 2> /dev/null); do
      geometry=$(xdotool getwindowgeometry "$id" 2> /dev/null | awk '/Position/ { p = $2 } /Geometry/ { g = $2 } END { print p, g }')
      [ "${geometry#* }" = "$1x$2" ] && { echo "${geometry%% *}" | tr , ' '; return 0; }
    done
    sleep 0.1
  done
  return 1
}
click() {  # click PAGE WIDGET LEFT TOP
  read -r x y <<< "$(python3 "$layout" "$1" 1 "$3" "$4" | awk -v n="$2" '$1 == n { print int(($2 + $4) / 2), int(($3 + $5) / 2) }')"
  xdotool mousemove "$x" "$y" click 1
}
"$root/scripts/wine-run" "$exe" &
pid=$!
if main=$(find_window 600 400); then
  sleep 1
  click welcome close $main
  if prompt=$(find_window 400 200); then
    sleep 0.5
    click warn first $prompt
  fi
  xdotool mousemove 0 0
fi
for _ in $(seq 1 600); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
kill -0 "$pid" 2> /dev/null && { echo "run_and_cancel: the installer did not end" >&2; kill "$pid"; }
status=0
wait "$pid" || status=$?
exit "$status"
