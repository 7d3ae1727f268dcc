#!/usr/bin/env bash
# Window sizes at three display settings of the bench's prefix: a 400 x 200
# window is 400 x 200 at 96 DPI, 600 x 300 at 144 and stays 400 x 200 below
# 96. The setting is put back when the test ends.
set -uo pipefail
probe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
key='HKCU\Control Panel\Desktop'
restore() { wine reg delete "$key" /v LogPixels /f > /dev/null 2>&1; }
trap restore EXIT
failures=0
for row in "96 400 200 1.000" "144 600 300 1.500" "72 400 200 1.000" "120 500 250 1.250"; do
  read -r dpi width height scale <<< "$row"
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null 2>&1
  got=$(timeout 60 "$root/scripts/wine-run" "$probe" size 400 200 | tr -d '\r')
  if [ "$got" = "$width $height $scale" ]; then
    echo "ok: $dpi DPI: $got"
  else
    echo "FAIL: $dpi DPI: got '$got', want '$width $height $scale'"
    failures=$((failures + 1))
  fi
done
echo "failures: $failures"
[ "$failures" = 0 ]
