#!/usr/bin/env bash
# The bench itself: only loopback, the profile's names resolve to loopback,
# the prefix has the font replacement, and an opened URL is only recorded.
set -uo pipefail
failures=0
check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
only_loopback() { [ "$(ip -o link show | awk -F': ' '{print $2}')" = lo ]; }
no_route_out() { ! ip route show | grep -q .; }
resolves_local() { [ "$(getent hosts "$VELORA_CDN_HOST" | awk '{print $1}')" = "$VELORA_CDN_IP" ]; }
outside_unknown() { ! getent hosts deb.debian.org > /dev/null; }
font_replacement() {
  wine reg query 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft Yahei' 2>/dev/null | grep -q 'WenQuanYi Micro Hei'
}
browser_recorded() {
  wine winebrowser "http://$VELORA_WEB_HOST/bench-check" > /dev/null 2>&1
  # The recorder may be started after winebrowser has returned.
  for _ in $(seq 1 100); do grep -q "bench-check" "$VELORA_OPENED_URLS" && return 0; sleep 0.1; done
  return 1
}
check "only a loopback interface" only_loopback
check "no route beyond loopback" no_route_out
check "the CDN name resolves to its loopback address" resolves_local
check "outside names do not resolve" outside_unknown
check "Microsoft Yahei is replaced" font_replacement
check "an opened URL is recorded" browser_recorded
[ "$failures" = 0 ]
