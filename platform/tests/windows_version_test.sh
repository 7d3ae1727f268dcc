#!/usr/bin/env bash
# The Windows version code under each version Wine can be told to be, for a
# program without a manifest and for one with the installer's manifest (which
# declares Windows 8.1 and 10, so the version query is not shimmed to 6.2).
# Wine's versions carry their last service pack; Windows 7 without one comes
# from the registry's own version keys, which Wine reads when no version is
# configured. Everything is put back at the end.
set -uo pipefail
plain=$1
manifest=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
nt_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
windows_key='HKLM\System\CurrentControlSet\Control\Windows'
failures=0
code_of() { "$root/scripts/wine-run" "$1" version | tr -d '\r' | sed -n 's/^version_code=//p'; }
expect_codes() {
  local what=$1 wanted_plain=$2 wanted_manifest=$3 seen_plain seen_manifest
  seen_plain=$(code_of "$plain")
  seen_manifest=$(code_of "$manifest")
  if [ "$seen_plain $seen_manifest" = "$wanted_plain $wanted_manifest" ]; then echo "ok: $what"; else
    echo "FAILED: $what: got $seen_plain/$seen_manifest, expected $wanted_plain/$wanted_manifest"
    failures=$((failures + 1))
  fi
}
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
set_value() { wine reg add "$1" /v "$2" ${4:+/t "$4"} /d "$3" /f > /dev/null 2>&1; }

configured=$(reg_value 'HKCU\Software\Wine' Version)
build=$(reg_value "$nt_key" CurrentBuildNumber)
csd=$(reg_value "$nt_key" CSDVersion)
sp=$(reg_value "$windows_key" CSDVersion)
restore() {
  set_value "$nt_key" CurrentBuildNumber "$build"
  set_value "$nt_key" CSDVersion "$csd"
  set_value "$windows_key" CSDVersion "$sp" REG_DWORD
  if [ -n "$configured" ]; then set_value 'HKCU\Software\Wine' Version "$configured"
  else wine reg delete 'HKCU\Software\Wine' /v Version /f > /dev/null 2>&1; fi
}
trap restore EXIT

while read -r version wanted_plain wanted_manifest; do
  set_value 'HKCU\Software\Wine' Version "$version"
  expect_codes "$version" "$wanted_plain" "$wanted_manifest"
done << 'VERSIONS'
win2k 6 6
winxp 0 0
win2003 6 6
vista 1 1
win2008 1 1
win7 3 3
win2008r2 3 3
win8 4 4
win81 4 4
win10 5 5
VERSIONS

wine reg delete 'HKCU\Software\Wine' /v Version /f > /dev/null 2>&1
set_value "$nt_key" CurrentBuildNumber 7600
set_value "$nt_key" CSDVersion ""
set_value "$windows_key" CSDVersion 0 REG_DWORD
expect_codes "Windows 7 without a service pack" 2 2
[ "$failures" = 0 ]
