#!/usr/bin/env bash
# The skin manager in real runs on the bench: which source it takes in each
# situation of the work folder, what it leaves there, what GetImage answers,
# and what reaches the collector. Each case gets a collector database and a
# work folder of its own; the bench's collector is back when the test ends.
set -uo pipefail
probe=$1 bare=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
stack=$root/build/host/backend/velora-stack
collector=$root/scripts/bench/collector
work=$(mktemp -d)
restore() { "$collector" stop; "$collector" start; rm -rf "$work"; }
trap restore EXIT
roaming=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -name Roaming | head -n 1)
failures=0
pass() { echo "ok: $1"; }
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# run CASE PROGRAM ARGS...: the probe with the collector on CASE's own
# database, output in $work/CASE.out.
run() {
  local name=$1
  shift
  "$collector" stop
  rm -f "$roaming/VeloraPkg/Qmx/qmx_spool.dat"
  "$collector" start "$work/$name.db"
  timeout 120 "$root/scripts/wine-run" "$@" | tr -d '\r' > "$work/$name.out"
}

# events CASE: the skin manager's events of CASE, one per line, as
# "name property-value" in the order written.
events() {
  "$stack" events --db "$work/$1.db" | python3 -c '
import json, sys
for line in sys.stdin:
    e = json.loads(line)
    if e["name"].startswith("vResource"):
        print(" ".join([e["name"]] + list(e["properties"].values())))'
}

# expect_events CASE LINE...: exactly these events, in this order.
expect_events() {
  local name=$1
  shift
  local want got
  want=$(printf '%s\n' "$@")
  got=$(events "$name")
  [ "$got" = "$want" ] && pass "$name: events" || { fail "$name: events"; echo "$got"; }
}
expect_output() {
  local name=$1 want=$2
  grep -qxF "$want" "$work/$name.out" && pass "$name: $want" || { fail "$name: $want"; cat "$work/$name.out"; }
}
win() { winepath -w "$1"; }

start="vResourceMgrStart"
made="vResourceStatus 创建资源成功"
lookup="vResourceError 获取指定资源失败"
unzip="vResourceError 资源解压失败"

# A normal start: a new work folder; the resource is written out and unpacked.
folder=$work/run1/
mkdir -p "$folder"
run fresh "$probe" skin "$(win "$folder")" logo.png main_bg.png Logo.png
expect_output fresh "manager 15"
expect_output fresh "logo.png 240x240"
expect_output fresh "main_bg.png 1200x800"
expect_output fresh "Logo.png null"
[ "$(ls "$folder/images" | wc -l)" = 15 ] && [ -s "$folder/Resource.zip" ] &&
  pass "fresh: 15 files unpacked, the archive copy kept" || fail "fresh: unpacked files"
expect_events fresh "$start" "$made" "$lookup"

# A second manager in the same run: the unpacked files are used as they are,
# without the archive copy.
rm "$folder/Resource.zip"
run again "$probe" skin "$(win "$folder")" install_banner.png
expect_output again "manager 15"
expect_output again "install_banner.png 1200x600"
[ ! -e "$folder/Resource.zip" ] && pass "again: the archive was not written" || fail "again: archive written"
expect_events again "$start" "$made"

# One file missing: reported, accepted with 14; asking for it gives null.
rm "$folder/images/error_icon.png"
run missing "$probe" skin "$(win "$folder")" error_icon.png inquire_icon.png
expect_output missing "manager 14"
expect_output missing "error_icon.png null"
expect_output missing "inquire_icon.png 60x60"
expect_events missing "$start" "$lookup" "$made" "$lookup"

# An empty skin folder and an empty archive copy: both skipped, the resource
# is written again.
folder=$work/run2/
mkdir -p "$folder/images"
: > "$folder/Resource.zip"
run empty "$probe" skin "$(win "$folder")"
expect_output empty "manager 15"
[ -s "$folder/Resource.zip" ] && pass "empty: the archive copy was rewritten" || fail "empty: archive copy"
expect_events empty "$start" "$lookup" "$lookup" "$made"

# An archive copy with a folder in it cannot be unpacked: reported, then the
# resource is written over it and unpacked.
folder=$work/run3/
mkdir -p "$folder/images" "$work/nested/img"
cp "$root/build/win/res/skin/logo.png" "$work/nested/img/"
( cd "$work/nested" && zip -q -r "$folder/Resource.zip" img )
run nested "$probe" skin "$(win "$folder")" logo.png
expect_output nested "manager 15"
expect_output nested "logo.png 240x240"
expect_events nested "$start" "$lookup" "$lookup" "$unzip" "$made"

# A program without the skin resource: every source fails, no manager.
folder=$work/run4/
mkdir -p "$folder"
run bare "$bare" skin "$(win "$folder")"
expect_output bare "manager null"
expect_events bare "$start" "$unzip" "vResourceStatus 创建资源失败"

# The skin folder cannot be made (the work folder is a file): no manager,
# and nothing reported after the start.
: > "$work/plain-file"
run nodir "$probe" skin "$(win "$work/plain-file")\\"
expect_output nodir "manager null"
expect_events nodir "$start"

# No work folder at all: reported, and the archive is written and unpacked
# where the program runs (here a folder that already has an empty "images").
mkdir -p "$work/cwd/images"
( cd "$work/cwd" && run nowork "$probe" skin "" logo.png )
expect_output nowork "manager 15"
expect_output nowork "logo.png 240x240"
expect_events nowork "$start" "$lookup" "$lookup" "vResourceError 创建缓存路径失败" "$made"

echo "failures: $failures"
[ "$failures" = 0 ]
