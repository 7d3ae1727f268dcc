#!/usr/bin/env bash
# bench/md5.sh [MIB]: the package digest against md5sum on the same file of
# MIB MiB (default 256) in the bench folder, read from the page cache by both.
# Prints each one's median MiB/s over five runs and their ratio. Run inside
# scripts/hermetic.
set -euo pipefail
mib=${1:-256}
: "${VELORA_BENCH_DIR:?run through scripts/hermetic}" "${VELORA_ROOT:?}"
file=$VELORA_BENCH_DIR/md5-bench.bin
head -c "$((mib * 1048576))" /dev/urandom > "$file"
trap 'rm -f "$file"' EXIT
md5sum "$file" > /dev/null
times=""
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  md5sum "$file" > /dev/null
  times="$times $(( ($(date +%s%N) - start) / 1000 ))"
done
md5sum_us=$(tr ' ' '\n' <<< "$times" | grep . | sort -n | sed -n 3p)
md5sum_rate=$(( mib * 1000000 / md5sum_us ))
out=$(wine "$VELORA_ROOT/build/win/bench/bench_md5_file.exe" "$mib" "Z:${file//\//\\}" | tr -d '\r')
echo "$out"
echo "md5sum $mib MiB: median $md5sum_rate MiB/s"
stream=$(sed -n 's/^Md5OfStream .*median \([0-9]*\) MiB\/s.*/\1/p' <<< "$out")
whole=$(sed -n 's/^Md5OfFile .*median \([0-9]*\) MiB\/s.*/\1/p' <<< "$out")
echo "  Md5OfStream / md5sum: $(echo "scale=2; $stream / $md5sum_rate" | bc), Md5OfFile / md5sum: $(echo "scale=2; $whole / $md5sum_rate" | bc)"
