#!/usr/bin/env bash
# The windowless driver against a full cache drive and hostile answers of the
# fault origin: each case ends, with the exit code, the reports at the
# collector and the files of the table, and nothing unverified recorded. The
# full drive is a small tmpfs over the package folder, mounted in the bench's
# own mount namespace.
set -uo pipefail
fetch=$1
: "${VELORA_BENCH_DIR:?run through scripts/hermetic}" "${VELORA_ROOT:?}" "${WINEPREFIX:?}"
stack=$VELORA_ROOT/build/host/backend/velora-stack
collector=$VELORA_ROOT/scripts/bench/collector
work=$(mktemp -d)
roaming=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -name Roaming | head -n 1)
data=$roaming/VeloraPkg/VELORADATA
origin=http://$VELORA_ORIGIN_IP
small=$(md5sum < "$VELORA_BENCH_DIR/cdn/pkg/small.bin" | cut -c1-32)
restore() {
  mountpoint -q "$data" && umount "$data"
  rm -rf "$data" "$work"
  "$collector" stop
  "$collector" start
}
trap restore EXIT
failures=0

# run NAME EXIT-CODE EXPECTATION ARGS...: one run of the driver on a fresh
# package folder and collector database. EXPECTATION is a Python condition
# over `events` (the run's events), `named(n)`, `ini` (config.ini's text),
# `files` (the names in the package folder) and `re`.
run() {
  local name=$1 want=$2 condition=$3
  shift 3
  "$collector" stop
  rm -f "$roaming/VeloraPkg/Qmx/qmx_spool.dat"
  "$collector" start "$work/$name.db"
  local start=$SECONDS got=0
  timeout 300 wine "$fetch" --no-install "$@" > "$work/out.log" 2>&1 || got=$?
  local took=$((SECONDS - start))
  sleep 1
  "$collector" stop
  "$stack" events --db "$work/$name.db" > "$work/events.json"
  if [ "$got" = "$want" ] && python3 - "$work/events.json" "$data" "$condition" <<'PY'; then
import json, os, re, sys
events = [json.loads(l) for l in open(sys.argv[1])]
named = lambda n: [e["properties"] for e in events if e["name"] == n]
folder = sys.argv[2]
files = sorted(os.listdir(folder))
ini = open(os.path.join(folder, "config.ini"), "rb").read().decode("utf-16") if "config.ini" in files else ""
sys.exit(0 if eval("(" + sys.argv[3] + ")") else 1)
PY
    echo "ok: $name (exit $got, ${took}s)"
  else
    echo "FAIL: $name (exit $got, want $want, ${took}s)"
    cat "$work/out.log" "$work/events.json"
    ls -la "$data"
    failures=$((failures + 1))
  fi
  mountpoint -q "$data" && umount "$data"
  rm -rf "$data"
}

failed='named("pSoftDownloadResult") == [{"soft_download_status": "下载失败", "download_time": -1}]'
unrecorded='not re.search(r"^(md5|path)=[^\r\n]", ini, re.M)'

# A cache drive that fills up half-way through the second 1 MB write (a short
# write, not a failed one): 2 MB of package on 1.5 MB, with no digest to catch
# the zeros.
mkdir -p "$data"
mount -t tmpfs -o size=1536k tmpfs "$data"
run full-disk 1 "$failed and $unrecorded and
  [p[\"error_status\"] for p in named(\"vSoftDownloadError\")][:1] == [\"写文件出错\"]" \
  --url "$origin/pkg/large.bin" --md5 ""

# A package that does not match its digest.
run wrong-digest 1 "$failed and $unrecorded" --url "$origin/pkg/small.bin" --md5 0123456789abcdef0123456789abcdef

# A server that names the package after the settings file: the package gets
# the driver's own name and config.ini stays the settings.
run named-config 0 "named(\"pSoftDownloadResult\")[0][\"soft_download_status\"] == \"下载成功\" and
  \"velora-fetch_install.exe\" in files and \"path=\" in ini and \"velora-fetch_install.exe\" in ini" \
  --url "$origin/fault/name=config.ini/pkg/small.bin" --md5 "$small"

echo "failures: $failures"
[ "$failures" = 0 ]
