#!/usr/bin/env bash
# Wall time of a whole installer run (start-up to exit) on the bench: median
# and worst of ten runs. Run inside scripts/hermetic.
set -euo pipefail
exe=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"
times=()
for _ in $(seq 10); do
  start=$(date +%s%N)
  wine "$folder/velora_setup_ab12cd34ef.exe"
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "installer run: median ${sorted[4]} ms, worst ${sorted[9]} ms (10 runs)"
