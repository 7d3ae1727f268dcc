#!/usr/bin/env bash
# The hardware identity of the bench machine as the probe sees it in fresh
# processes: empty with only loopback, then the address of veth interfaces
# made here (their peers live in a namespace of their own, or Wine would list
# both ends), ranked by the network connection keys written to the registry.
# Wine never forgets an interface it once listed, so the bench's wineserver is
# restarted at the end, after the interfaces are gone.
set -uo pipefail
probe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
network_key='HKLM\SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}'
failures=0
expect() {
  local what=$1 seen=$2 wanted=$3
  if [ "$seen" = "$wanted" ]; then echo "ok: $what"; else
    echo "FAILED: $what: got '$seen', expected '$wanted'"; failures=$((failures + 1)); fi
}
probe_value() { "$root/scripts/wine-run" "$probe" "$1" | tr -d '\r' | sed -n "s/^$2=//p"; }
md5_of() { printf %s "$1" | md5sum | cut -d' ' -f1; }

holder=
cleanup() {
  ip link del vt0 2>/dev/null
  ip link del vt2 2>/dev/null
  [ -n "$holder" ] && kill "$holder" 2>/dev/null
  wine reg delete "$network_key" /f > /dev/null 2>&1
  # The new server and the services that the first program starts inherit
  # its output; none of them may hold this test's output open.
  { wineserver -k; wineserver -w; wineserver -p; wine reg query 'HKCU\Software\Wine' /v Version; } \
    < /dev/null > /dev/null 2>&1
}

# The hypervisor check against what Linux read from the same processor.
grep -qw hypervisor /proc/cpuinfo && vm=1 || vm=0
expect "hypervisor check" "$(probe_value mac vm)" "$vm"

expect "only loopback: no address" "$(probe_value mac mac)" ""
expect "only loopback: no digest" "$(probe_value mac cam)" ""

# A namespace that only holds the peers.
unshare --net sleep 600 &
holder=$!
trap cleanup EXIT
# Until the holder runs in its own namespace (the wait only catches a hang).
for _ in $(seq 600); do
  [ "$(readlink "/proc/$holder/ns/net" 2>/dev/null)" != "$(readlink /proc/self/ns/net)" ] && break
  sleep 0.1
done
ip link add vt0 type veth peer name vt1 netns "$holder" || exit 1
ip link set vt0 address ac:de:48:00:11:22

expect "one adapter" "$(probe_value mac mac)" "AC-DE-48-00-11-22"
expect "its digest is the MD5 of the text" "$(probe_value mac cam)" "$(md5_of AC-DE-48-00-11-22)"
out=$("$root/scripts/wine-run" "$probe" mac-threads | tr -d '\r')
expect "two threads at once, first" "$(sed -n 's/^mac1=//p' <<< "$out")" "AC-DE-48-00-11-22"
expect "two threads at once, second" "$(sed -n 's/^mac2=//p' <<< "$out")" "AC-DE-48-00-11-22"

ip link add vt2 type veth peer name vt3 netns "$holder" || exit 1
ip link set vt2 address ac:de:48:00:11:44
adapters=$("$root/scripts/wine-run" "$probe" adapters | tr -d '\r')
name_of() { sed -n "s/^adapter=\([^ ]*\) $1\$/\1/p" <<< "$adapters"; }
first=$(name_of AC-DE-48-00-11-22)
second=$(name_of AC-DE-48-00-11-44)
[ -n "$first" ] && [ -n "$second" ] || { echo "FAILED: adapters not listed: $adapters"; exit 1; }
echo "adapters: $first (vt0), $second (vt2)"

# The PnP instance each adapter's connection key names ("" writes none).
set_instance() {
  wine reg delete "$network_key\\$1" /f > /dev/null 2>&1
  [ -z "$2" ] || wine reg add "$network_key\\$1\\Connection" /v PnpInstanceID /d "$2" /f > /dev/null 2>&1
}
while IFS='|' read -r what instance1 instance2 wanted; do
  set_instance "$first" "$instance1"
  set_instance "$second" "$instance2"
  expect "$what" "$(probe_value mac mac)" "$wanted"
done << 'CASES'
no keys: the first in enumeration order|||AC-DE-48-00-11-22
a PCI card after a USB stick|USB\VID_0B95&PID_1790\0001|PCI\VEN_8086&DEV_100E\3&267A616A&0&18|AC-DE-48-00-11-44
ISA before USB|USB\VID_0B95&PID_1790\0001|ISA\PNP80D6\0|AC-DE-48-00-11-44
a lower-case bus is no known bus|ROOT\NET\0000|pci\ven_8086&dev_100e|AC-DE-48-00-11-22
an instance shorter than 7 bytes is no known bus|ROOT\NET\0000|PC|AC-DE-48-00-11-22
the same bus: the first in enumeration order|PCI\VEN_8086&DEV_100E\1|PCI\VEN_8086&DEV_100E\2|AC-DE-48-00-11-22
CASES

trap - EXIT
cleanup
expect "after the interfaces are gone: no address" "$(probe_value mac mac)" ""
[ "$failures" = 0 ]
