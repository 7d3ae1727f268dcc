#!/usr/bin/env bash
# Runs the cache-location tests on drives of their own. Added to the bench's
# prefix for the run (in place of the bench's own D:), then taken away again:
#   D: 1 TiB tmpfs, with a "VeloraPkg" folder of someone else's at its root
#   E: 1 TiB tmpfs with a file as large (as roomy as D:, later in the order)
#   F: 4 TiB tmpfs mounted read-only (roomiest, but nothing can be made there)
#   G: 8 TiB tmpfs that the prefix calls a CD-ROM drive
# Wine learns of new drives only when its server starts, so it is restarted
# before and after.
set -uo pipefail
tests=$1
: "${WINEPREFIX:?run through scripts/hermetic}" "${VELORA_BENCH_DIR:?}"
drives=$VELORA_BENCH_DIR/drives
devices=$WINEPREFIX/dosdevices
bench_d=$(readlink "$devices/d:")

cleanup() {
  wineserver -k 2>/dev/null
  for d in d e f g; do
    rm -f "$devices/$d:"
    umount "$drives/$d" 2>/dev/null
  done
  wine reg delete 'HKLM\Software\Wine\Drives' /v g: /f >/dev/null 2>&1
  [ -z "$bench_d" ] || ln -s "$bench_d" "$devices/d:"
  wineserver -k 2>/dev/null
  # Back to one lasting server, as the bench had it; its output must not hold
  # the test's pipe open.
  wineserver -p > /dev/null 2>&1 < /dev/null
  # Wine's own background processes start with the first program after a
  # server start and keep its standard handles: let them start here, not in a
  # later test whose pipe they would then hold open.
  wine cmd /c exit > /dev/null 2>&1 < /dev/null
  rm -rf "$drives"
}
trap cleanup EXIT

mount_drive() {  # letter size [ro]
  rm -f "$devices/$1:"
  mkdir -p "$drives/$1"
  mount -t tmpfs -o "size=$2" tmpfs "$drives/$1" || exit 1
  ln -s "$drives/$1" "$devices/$1:"
}
mount_drive d 1T
mkdir -p "$drives/d/VeloraPkg" && echo keep > "$drives/d/VeloraPkg/keep.txt"
mount_drive e 1T
# As much used on E: as on D:, so that both have the same room.
mkdir -p "$drives/e/Other" && echo keep > "$drives/e/Other/keep.txt"
mount_drive f 4T
mount -o remount,ro "$drives/f" || exit 1
mount_drive g 8T
wine reg add 'HKLM\Software\Wine\Drives' /v g: /d cdrom /f >/dev/null 2>&1
wineserver -k 2>/dev/null

VELORA_TEST_DRIVES=1 wine "$tests"
status=$?

# The run's work folder went with it; the probes left nothing behind.
leftover=$(cd "$drives" && ls -d d/VeloraPkg_* e/VeloraPkg* 2>/dev/null)
[ -z "$leftover" ] || { echo "FAILED: left behind: $leftover"; status=1; }
[ "$(cat "$drives/d/VeloraPkg/keep.txt" 2>/dev/null)" = keep ] ||
  { echo "FAILED: the VeloraPkg folder on D: was touched"; status=1; }
[ "$(ls "$drives/d/VeloraPkg")" = keep.txt ] || { echo "FAILED: D:\\VeloraPkg holds more"; status=1; }
exit $status
