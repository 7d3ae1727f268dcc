#!/usr/bin/env bash
# Wall time of a whole installer run (start-up to exit) on the bench: median
# and worst of ten runs, with the services answering, and with every service
# silent (name servers included) and no display. Run inside scripts/hermetic.
set -euo pipefail
exe=$1
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(mktemp -d)
trap '"$root/scripts/bench/silence" off; rm -rf "$folder"' EXIT
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"

# Ten runs of the command; prints median and worst.
measure() {
  local label=$1 times=() sorted
  shift
  for _ in $(seq 10); do
    local start=$(date +%s%N)
    "$@" "$folder/velora_setup_ab12cd34ef.exe" > /dev/null 2>&1 || true
    times+=($(( ($(date +%s%N) - start) / 1000000 )))
  done
  sorted=($(printf '%s\n' "${times[@]}" | sort -n))
  echo "installer run, $label: median ${sorted[4]} ms, worst ${sorted[9]} ms (10 runs)"
}

measure "services answering" wine
"$root/scripts/bench/silence" on
measure "network silent, no display" env -u DISPLAY wine
