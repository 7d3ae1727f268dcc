#!/usr/bin/env bash
# The windowless download and silent install on the bench, as a user's first
# and second run: the package from the local CDN, verified, installed, and
# reused the second time without a GET; then a setup that fails with code 5.
set -euo pipefail
fetch=$1 failing=$2
: "${VELORA_BENCH_DIR:?run through scripts/hermetic}" "${VELORA_ROOT:?}" "${WINEPREFIX:?}"
stack=$VELORA_ROOT/build/host/backend/velora-stack
fail() { echo "FAIL: $*" >&2; exit 1; }
package=$VELORA_BENCH_DIR/cdn/application/soft_package/pc/57203816/software/install.exe
gets() { grep -c '"GET /application/soft_package/pc/57203816/software/install.exe' "$VELORA_BENCH_DIR/nginx/access.log" || true; }
events() { "$stack" events --db "$VELORA_ANALYTICS_DB"; }

key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\{5D0E9A21-7C4B-4F83-A6E2-3B9C1D7F0E54}_is1'
bench_db=$VELORA_ANALYTICS_DB
cp "$package" "$VELORA_BENCH_DIR/install.exe.saved"
# The prefix is shared with later tests, which expect a machine without the
# product, the bench's package and collector: everything goes back.
restore() {
  wine reg delete "$key" /reg:32 /f > /dev/null 2>&1 || true
  rm -rf "$WINEPREFIX/drive_c/Velora Demo" "$WINEPREFIX/drive_c/Velora Fail"
  find "$WINEPREFIX/drive_c/users" -path '*VeloraPkg/VELORADATA' -prune -exec rm -rf {} + 2>/dev/null || true
  cp "$VELORA_BENCH_DIR/install.exe.saved" "$package"
  "$VELORA_ROOT/scripts/bench/collector" stop
  "$VELORA_ROOT/scripts/bench/collector" start "$bench_db"
}
trap restore EXIT

# Its own collector database, so that only this test's events are seen.
"$VELORA_ROOT/scripts/bench/collector" stop
export VELORA_ANALYTICS_DB=$VELORA_BENCH_DIR/install-test.db
"$VELORA_ROOT/scripts/bench/collector" start "$VELORA_ANALYTICS_DB"

dir='C:\Velora Demo\Velora视频模板'
out=$(wine "$fetch" --dir "$dir" 2>/dev/null) || fail "first run: exit $? ($out)"
echo "$out"
grep -q "installed into" <<<"$out" || fail "no install reported"
unix_dir=$(winepath -u "$dir")
[ -f "$unix_dir/Velora.exe" ] || fail "no program file in $unix_dir"
entry=$(wine reg query "$key" /reg:32 2>/dev/null | tr -d '\r')
grep -q 'DisplayVersion.*3\.6\.0\.1' <<<"$entry" || fail "uninstall entry: $entry"
# reg prints through the console code page, which loses the Chinese name.
grep -q 'DisplayIcon *REG_SZ *C:\\Velora Demo\\Velora.*\\Velora\.exe$' <<<"$entry" || fail "DisplayIcon: $entry"
ini=$(find "$WINEPREFIX/drive_c/users" -path '*VeloraPkg/VELORADATA/config.ini' | head -1)
ini_text=$(iconv -f UTF-16 -t UTF-8 "$ini" | tr -d '\r')
grep -q "^md5=$(md5sum < "$package" | cut -c1-32)$" <<<"$ini_text" || fail "config.ini: $ini_text"
[ "$(gets)" -ge 2 ] || fail "the first run fetched nothing from the CDN"

# The second run: the verified package again, no byte fetched. The collector
# says so; nginx's log alone is no proof, since it writes a request's line
# only when the request ends, and an earlier test's abandoned request can end
# at any time.
reused() { events | grep pSoftDownloadResult | grep -c '存在本地文件' || true; }
before=$(gets)
out=$(wine "$fetch" --dir "$dir" 2>/dev/null) || fail "second run: exit $? ($out)"
sleep 1
[ "$(reused)" = 1 ] || fail "the second run did not reuse the package (GETs before $before, after $(gets)): $(events | grep pSoftDownloadResult)"

# A setup that fails, on a machine without the verified package: the package
# service describes the new file once restarted.
rm -rf "$(dirname "$ini")"
cp "$failing" "$package"
"$VELORA_ROOT/scripts/bench/collector" stop
"$VELORA_ROOT/scripts/bench/collector" start "$VELORA_ANALYTICS_DB"
status=0
out=$(wine "$fetch" --dir 'C:\Velora Fail' 2>/dev/null) || status=$?
[ "$status" = 3 ] || fail "failing setup: exit $status ($out)"
grep -q "the setup failed: 5" <<<"$out" || fail "no failure reported: $out"
# The collector stores what it was sent while the run ended; the wait only
# catches a hang.
for _ in $(seq 600); do
  events | grep -q 'vSoftInstallError' && break
  sleep 0.1
done
"$VELORA_ROOT/scripts/bench/collector" stop
all=$(events)
grep -q 'vSoftInstallError' <<<"$all" || fail "no vSoftInstallError among: $all"
grep 'vSoftInstallError' <<<"$all" | grep -q '"5"' || fail "vSoftInstallError without 5: $(grep vSoftInstallError <<<"$all")"
grep -q 'vSoftInstallStart' <<<"$all" || fail "no vSoftInstallStart"
grep -q 'pSoftDownloadResult' <<<"$all" || fail "no pSoftDownloadResult"
echo "install: all checks passed"
