#!/usr/bin/env bash
# WriteEvent's cost on the caller's thread with the collector fast, slow
# (every answer 500 ms late) and down. Run on the bench:
#   scripts/hermetic -- bench/write_event.sh [EVENTS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$root/build/win/bench/write_event_bench.exe
collector=$root/scripts/bench/collector
count=${1:-2000}
work=$(mktemp -d)
trap '"$collector" stop; "$collector" start; rm -rf "$work"' EXIT
spool() { find "$WINEPREFIX/drive_c/users" -path '*VeloraPkg/Qmx/qmx_spool.dat' 2>/dev/null; }

"$collector" stop; "$collector" start "$work/fast.db" 0
wine "$exe" "$count" fast
"$collector" stop; "$collector" start "$work/slow.db" 500
wine "$exe" "$count" slow
"$collector" stop
wine "$exe" "$count" down
echo "spooled while down: $(wc -c < "$(spool)") bytes"
rm -f "$(spool)"
