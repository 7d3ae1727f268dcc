#!/usr/bin/env bash
# What reaches the collector from real runs on the bench: the installer's
# start and quit reports, a run with the collector down followed by one with
# it up, and the logger's event ids, first-value properties and threads
# (through logger_probe). Each case gets a collector database of its own; the
# bench's collector is back when the test ends.
set -uo pipefail
exe=$1 probe=$2
root=$(cd "$(dirname "$0")/.." && pwd)
stack=$root/build/host/backend/velora-stack
collector=$root/scripts/bench/collector
work=$(mktemp -d)
restore() { "$collector" stop; "$collector" start; rm -rf "$work"; }
trap restore EXIT
roaming=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -name Roaming | head -n 1)
failures=0

# use_collector DB: the collector on DB from now on; no spool left behind by
# earlier runs, so every record counted here comes from this case.
use_collector() {
  "$collector" stop
  rm -f "$roaming/VeloraPkg/Qmx/qmx_spool.dat"
  [ -z "$1" ] || "$collector" start "$1"
}

# expect NAME DB PYTHON-CONDITION: events and records of DB are in `events`
# and `records` (lists of dicts), `named(n)` gives the events called n.
expect() {
  local name=$1 db=$2 condition=$3
  if "$stack" events --db "$db" > "$work/events.json" && "$stack" records --db "$db" > "$work/records.json" &&
     python3 - "$work/events.json" "$work/records.json" "$condition" <<'PY'
import json, sys
events = [json.loads(l) for l in open(sys.argv[1])]
records = [json.loads(l) for l in open(sys.argv[2])]
named = lambda n: [e for e in events if e["name"] == n]
of_type = lambda t: [r for r in records if r["type"] == t]
texts = lambda r: {f["field"]: f.get("text", f.get("int")) for f in r["fields"]}
sys.exit(0 if eval("(" + sys.argv[3] + ")") else 1)
PY
  then echo "ok: $name"
  else echo "FAIL: $name"; failures=$((failures + 1)); cat "$work/events.json" "$work/records.json"; fi
}

run() { timeout 60 "$root/scripts/wine-run" "$@"; }
# The installer has a window now: each start ends through its close button
# and the cancel-confirm prompt.
run_installer() { timeout 120 "$root/tests/run_and_cancel.sh" "$@"; }

# One start of the installer as a user gets it from a channel.
folder=$work/download
mkdir -p "$folder"
cp "$exe" "$folder/velora_setup_ab12cd34ef.exe"
use_collector "$work/start.db"
run_installer "$folder/velora_setup_ab12cd34ef.exe"
db=$work/start.db
expect "pSoftInstall once, with its properties" "$db" '
len(named("pSoftInstall")) == 1 and (lambda p:
  p["soft_package_name"] == "velora_setup_ab12cd34ef" and p["install_type"] == "安装器" and
  p["is_first_install"] is True and p["download_time"] == 0 and "parent_app_name" in p
)(named("pSoftInstall")[0]["properties"])'
expect "vSoftQuit once, a normal exit" "$db" '
[e["properties"] for e in named("vSoftQuit")] == [{"event_name": "软件退出"}]'
expect "the launch record once" "$db" '[texts(r) for r in of_type(1)] == [{1: 1}]'
expect "both report records once" "$db" '
sorted(map(lambda r: sorted(texts(r).items()), of_type(4))) ==
  sorted([sorted({50: 4, 51: "0001", 52: "0001", 53: "velora_setup_ab12cd34ef"}.items()),
          sorted({50: 4, 51: "0001", 52: "0002"}.items())])'
expect "one machine, the application id" "$db" '
len({r["mid"] for r in records}) == 1 and len(records[0]["mid"]) == 32 and
{r["app_id"] for r in records} == {"57203816"}'

# A run while the collector is down, then one while it is up: both arrive,
# nothing twice.
use_collector ""
run_installer "$folder/velora_setup_ab12cd34ef.exe"
[ -s "$roaming/VeloraPkg/Qmx/qmx_spool.dat" ] && echo "ok: the first run's records wait in the spool" ||
  { echo "FAIL: no spool after a run with the collector down"; failures=$((failures + 1)); }
"$collector" start "$work/resend.db"
run_installer "$folder/velora_setup_ab12cd34ef.exe"
# The exit waits about 2 s at most; on a loaded machine an acknowledged batch
# may still be in the spool then, and goes out (once) with the next start.
runs=2
while [ -e "$roaming/VeloraPkg/Qmx/qmx_spool.dat" ] && [ "$runs" -lt 5 ]; do
  run_installer "$folder/velora_setup_ab12cd34ef.exe"
  runs=$((runs + 1))
done
[ ! -e "$roaming/VeloraPkg/Qmx/qmx_spool.dat" ] && echo "ok: the spool is empty once delivered" ||
  { echo "FAIL: spool left after delivery"; failures=$((failures + 1)); }
# Each run: the launch record, two report records, two action records (close,
# "确认") and six events (start, skin manager twice, page view, cancel, quit).
expect "records of every run, each once" "$work/resend.db" "
len(named('pSoftInstall')) == $runs and len(named('vSoftQuit')) == $runs and len(of_type(1)) == $runs and
len(of_type(4)) == 2 * $runs and len(of_type(2)) == 2 * $runs and
len({r['id'] for r in records}) == len(records) == 11 * $runs"

# The logger's own rules, seen at the collector.
use_collector "$work/logger.db"
run "$probe" ids 201
run "$probe" first
run "$probe" threads
# On a loaded machine the exit's bounded flush may leave the last records in
# the spool; later starts deliver them, once.
for _ in 1 2 3 4; do
  [ -e "$roaming/VeloraPkg/Qmx/qmx_spool.dat" ] || break
  run "$probe" ids 0
done
db=$work/logger.db
expect "event ids: each next one differs in the last two digits, the hundredth after repeats" "$db" '
(lambda ids: len(ids) == 201 and
  all(b % 100 == (a + 1) % 100 for a, b in zip(ids, ids[1:]) if a // 100 == b // 100) and
  any(ids[i] == ids[i + 100] for i in range(101)) and
  all(ids[i] == ids[i + 100] for i in range(101) if ids[i] // 100 == ids[i + 100] // 100)
)([e["event_id"] for e in named("vIdProbe")])'
expect "an event without properties still has its name and id" "$db" '
all(e["properties"] == {} and e["event_id"] > 0 for e in named("vIdProbe"))'
expect "the first value of a key wins" "$db" '
[e["properties"] for e in named("vFirstProbe")] ==
  [{"event_name": "first", "download_time": 1, "is_reinstall": True}]'
expect "events of two threads keep their own properties" "$db" '
sorted(e["properties"]["host_name"] for e in named("vThreadProbe")) == ["a"] * 50 + ["b"] * 50'

# A crash: the SDK's dump, then the crash reports of the logger's callback.
use_collector "$work/crash.db"
rm -f "$roaming"/VeloraPkg/Qmx/crash_*.dmp
run "$probe" crash
dumps=("$roaming"/VeloraPkg/Qmx/crash_*.dmp)
[ -s "${dumps[0]}" ] && echo "ok: a dump in the SDK folder" || { echo "FAIL: no dump"; failures=$((failures + 1)); }
expect "a crash reports the dump, vSoftDump and vSoftQuit 软件崩溃" "$work/crash.db" '
len(named("vCrashProbe")) == 1 and len(named("vSoftDump")) == 1 and
[e["properties"] for e in named("vSoftQuit")] == [{"event_name": "软件崩溃"}] and
sorted(texts(r).get(52) for r in of_type(4)) == ["0001", "0002"] and
[texts(r)[55].endswith(".dmp") for r in of_type(4) if texts(r)[50] == 1] == [True]'

echo "failures: $failures"
[ "$failures" = 0 ]
