#!/usr/bin/env bash
# Starts the installer as a new user would, with no display and every service
# of the bench silent, its name servers included: neither start-up nor
# shut-down may wait for the network. Without a display the main window
# cannot be made: a start-up failure, after which the installer still reports
# its quit and ends. It must end with exit code 0; the time-out only catches
# a hang. tests/window_test.sh ends a run with a window and the index silent.
set -euo pipefail
exe=$1
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(mktemp -d)
trap '"$root/scripts/bench/silence" off; rm -rf "$folder"' EXIT
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"
"$root/scripts/bench/silence" on
for run in 1 2 3; do
  rm -rf "$(winepath -u 'C:\users\root\AppData\Roaming\VeloraPkg' 2>/dev/null)"
  status=0
  start=$(date +%s%N)
  timeout 60 env -u DISPLAY "$root/scripts/wine-run" "$folder/velora_setup_ab12cd34ef.exe" || status=$?
  echo "run $run: exit code $status after $(( ($(date +%s%N) - start) / 1000000 )) ms"
  [ "$status" = 0 ]
done
