#!/usr/bin/env bash
# bench/download.sh [MIB] [RUNS] [LIMITED_MIB]: packages served by nginx,
# fetched in turn by velora-fetch (two ranged workers and the MD5 check), curl
# (one connection) and aria2c (-x2 -s2), RUNS times each (default 3), the
# tools alternating within each run:
#   loopback  MIB MiB (default 200) over plain loopback;
#   shaped    the same over loopback shaped to 100 Mbit/s with a token bucket,
#             where the link time (MIB MiB at 100 Mbit/s) is the floor;
#   limited   LIMITED_MIB MiB (default 40) from a location that limits each
#             connection to 4 MB/s (nginx limit_rate), as some CDNs do.
# Prints median times and their ratios, CPU seconds and peak memory of each,
# and the driver's memory growth during the download. Run inside
# scripts/hermetic.
set -euo pipefail
mib=${1:-200} runs=${2:-3} limited_mib=${3:-40}
: "${VELORA_BENCH_DIR:?run through scripts/hermetic}" "${VELORA_ROOT:?}"
fetch=$VELORA_ROOT/build/win/tools/velora-fetch.exe
work=$VELORA_BENCH_DIR/download-bench
mkdir -p "$work"
file=$VELORA_BENCH_DIR/cdn/pkg/bench.bin
head -c "$((mib * 1048576))" /dev/urandom > "$file"
md5=$(md5sum < "$file" | cut -c1-32)
limited_file=$VELORA_BENCH_DIR/cdn/pkg/bench-limited.bin
head -c "$((limited_mib * 1048576))" /dev/urandom > "$limited_file"
limited_md5=$(md5sum < "$limited_file" | cut -c1-32)
trap 'tc qdisc del dev lo root 2>/dev/null || true; rm -f "$file" "$limited_file"' EXIT

# run NAME COMMAND...: wall ms, CPU s and peak KiB of one fetch, appended to
# $work/NAME.
run() {
  local name=$1
  shift
  rm -f "$work/out.bin" "$work/out.bin.aria2"
  local start=$(date +%s%N)
  /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" > "$work/stdout" 2>/dev/null
  local wall=$(( ($(date +%s%N) - start) / 1000000 ))
  read -r user sys peak < "$work/time"
  # The driver's own figure leaves Wine's start-up out.
  local own=$(sed -n 's/.*download \([0-9]*\) ms.*/\1/p' "$work/stdout")
  echo "${own:-$wall} $wall $(echo "$user + $sys" | bc) $peak $(sed -n 's/.*idle \([0-9]*\) KiB, peak \([0-9]*\) KiB.*/\1 \2/p' "$work/stdout")" >> "$work/$name"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
column() { awk -v c="$2" '{print $c}' "$work/$1" | median; }

ratio() { echo "scale=3; $1 / $2" | bc; }

for link in loopback shaped limited; do
  rm -f "$work/velora-fetch" "$work/curl" "$work/aria2c"
  size=$mib url=http://$VELORA_CDN_IP/pkg/bench.bin sum=$md5
  if [ "$link" = limited ]; then
    size=$limited_mib url=http://$VELORA_CDN_IP/limited/bench-limited.bin sum=$limited_md5
  fi
  if [ "$link" = shaped ]; then
    # lo's MTU is 64 KiB, so the bucket must hold a few of its packets.
    tc qdisc add dev lo root tbf rate 100mbit burst 256kb latency 50ms
  fi
  for _ in $(seq "$runs"); do
    run velora-fetch wine "$fetch" --url "$url" --md5 "$sum" --no-install
    run curl curl -s -o "$work/out.bin" "$url"
    run aria2c aria2c -q --async-dns=false -x2 -s2 --allow-overwrite=true -d "$work" -o out.bin "$url"
  done
  [ "$link" = shaped ] && tc qdisc del dev lo root
  driver=$(column velora-fetch 1) curl_ms=$(column curl 1) aria_ms=$(column aria2c 1)
  echo "download $size MiB over $link ($runs runs, medians):"
  for tool in velora-fetch curl aria2c; do
    printf "  %-12s %6s ms (wall %6s ms), CPU %5s s, peak %7s KiB\n" "$tool" "$(column $tool 1)" \
      "$(column $tool 2)" "$(column $tool 3)" "$(column $tool 4)"
  done
  echo "  velora-fetch / curl: $(ratio "$driver" "$curl_ms"), velora-fetch / aria2c: $(ratio "$driver" "$aria_ms")"
  if [ "$link" = shaped ]; then
    # The link time: the bytes at 100 Mbit/s.
    link_ms=$(( size * 1048576 * 8 / 100000 ))
    echo "  link time $link_ms ms: velora-fetch $(ratio "$driver" "$link_ms"), curl $(ratio "$curl_ms" "$link_ms")," \
      "aria2c $(ratio "$aria_ms" "$link_ms") x the link time"
  fi
  [ "$link" = limited ] && echo "  curl / velora-fetch: $(ratio "$curl_ms" "$driver")"
  echo "  velora-fetch working set: idle $(column velora-fetch 5) KiB, peak $(column velora-fetch 6) KiB"
done
