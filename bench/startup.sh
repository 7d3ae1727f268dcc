#!/usr/bin/env bash
# Times of installer runs on the bench, ten each, median and worst:
# - from the start of `wine` until the welcome page is on the screen (a warm
#   wineserver: one run before the measured ones), with the services
#   answering, and the time from the click on "确认" of the cancel-confirm
#   prompt until the process has ended;
# - the same end-to-end figure with every service silent;
# - a whole run with every service silent and no display (no window can be
#   made, so start-up fails and the installer ends by itself).
# Run inside scripts/hermetic.
set -euo pipefail
exe=$1
root=$(cd "$(dirname "$0")/.." && pwd)
layout=$root/tests/page_layout.py
folder=$(mktemp -d)
trap '"$root/scripts/bench/silence" off; rm -rf "$folder"' EXIT
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"
now() { date +%s%N; }
ms() { echo $((($2 - $1) / 1000000)); }
summary() {  # summary LABEL TIMES...: median and worst
  local label=$1 sorted
  shift
  sorted=($(printf '%s\n' "$@" | sort -n))
  echo "$label: median ${sorted[$(($# / 2 - 1))]} ms, worst ${sorted[$(($# - 1))]} ms ($# runs)"
}
source "$root/bench/window.sh"
# One run: sets shown (ms to the welcome page) and ended (ms from the click
# on "确认" to the end of the process).
one_run() {
  local start pid main prompt clicked
  start=$(now)
  wine "$folder/velora_setup_ab12cd34ef.exe" > /dev/null 2>&1 &
  pid=$!
  main=$(find_window 600 400)
  shown=$(ms "$start" "$(now)")
  sleep 0.5
  click welcome close $main
  prompt=$(find_window 400 200)
  sleep 0.3
  click warn first $prompt
  clicked=$(now)
  wait "$pid" || true
  ended=$(ms "$clicked" "$(now)")
  xdotool mousemove 0 0
}
measure_window() {
  local label=$1 shown_times=() ended_times=()
  one_run
  for _ in $(seq 10); do
    one_run
    shown_times+=("$shown")
    ended_times+=("$ended")
  done
  summary "welcome page on the screen after the start, $label" "${shown_times[@]}"
  summary "process ended after the click on 确认, $label" "${ended_times[@]}"
}

measure_window "services answering"
"$root/scripts/bench/silence" on
measure_window "every service silent"
times=()
for _ in $(seq 10); do
  start=$(now)
  env -u DISPLAY wine "$folder/velora_setup_ab12cd34ef.exe" > /dev/null 2>&1 || true
  times+=($(ms "$start" "$(now)"))
done
summary "installer run, network silent, no display" "${times[@]}"
