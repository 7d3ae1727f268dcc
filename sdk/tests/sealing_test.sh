#!/usr/bin/env bash
# Sealing across the two sides: Qmx.dll under Wine (through qmx_probe) and the
# service side (velora-stack, OpenSSL), each opening what the other sealed,
# and neither opening anything damaged.
set -uo pipefail
probe=$1 stack=$3
set -a; . "$4"; set +a
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check NAME EXPECTED-STATUS COMMAND...
  local name=$1 want=$2; shift 2
  "$@" > "$work/out.log" 2>&1
  local got=$?
  if [ "$got" = "$want" ]; then echo "ok: $name"; else echo "FAIL: $name (exit $got, want $want)"; cat "$work/out.log"; failures=$((failures + 1)); fi
}
same() {  # same NAME FILE-A FILE-B
  if cmp -s "$2" "$3"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}
w() { winepath -w "$1"; }

printf '{"appId":"57203816","channel":"ab12cd34","text":"\xe5\xae\x89\xe8\xa3\x85\xe5\x99\xa8"}' > "$work/plain"

# The SDK seals, the service opens.
check "SDK seals a request" 0 wine "$probe" seal "$(w "$work/plain")" "$(w "$work/request")"
head -c 200 "$work/request" | grep -aq "^POST /installer/package/index HTTP/1.1" &&
  head -c 400 "$work/request" | grep -aq "Host: $VELORA_PKG_HOST" && echo "ok: request line and host" ||
  { echo "FAIL: request line and host"; failures=$((failures + 1)); }
check "service opens the SDK's request" 0 "$stack" open --key "$VELORA_STACK_SERVICE_PRIVATE_KEY" \
  "$work/request" "$work/opened-by-service"
same "service reads the SDK's bytes" "$work/plain" "$work/opened-by-service"

# The service answers, the SDK opens: only an answer signed with the
# service's key for the nonce of the SDK's own request, as the blob or its
# Base64 text. exchange NAME EXPECTED-STATUS MAKE: the probe sends a request
# and waits; MAKE REQUEST ANSWER writes the answer it gets.
answer() { "$stack" answer --key "$VELORA_STACK_CLIENT_PUBLIC_KEY" --service-key "$VELORA_STACK_SERVICE_PRIVATE_KEY" "$@"; }
exchange() {
  local name=$1 want=$2; shift 2
  rm -f "$work/x-request" "$work/x-answer" "$work/x-answer.tmp" "$work/x-out"
  wine "$probe" exchange "$(w "$work/plain")" "$(w "$work/x-request")" "$(w "$work/x-answer.tmp")" \
    "$(w "$work/x-out")" > "$work/out.log" 2>&1 &
  local pid=$!
  for _ in $(seq 300); do [ -s "$work/x-request" ] && break; sleep 0.1; done
  "$@" "$work/x-request" "$work/x-answer" && mv "$work/x-answer" "$work/x-answer.tmp"
  local got=0
  wait "$pid" || got=$?
  if [ "$got" = "$want" ]; then echo "ok: $name"; else echo "FAIL: $name (exit $got, want $want)"; cat "$work/out.log"; failures=$((failures + 1)); fi
}
signed() { answer "$1" "$work/plain" "$2" && cp "$2" "$work/signed"; }
signed_b64() { answer "$1" "$work/plain" "$work/b64.bin" && base64 -w0 "$work/b64.bin" > "$2"; }
unsigned() { "$stack" seal --key "$VELORA_STACK_CLIENT_PUBLIC_KEY" "$work/plain" "$2"; }
foreign() { "$stack" answer --key "$VELORA_STACK_CLIENT_PUBLIC_KEY" --service-key "$VELORA_SDK_PRIVATE_KEY" "$1" "$work/plain" "$2"; }
altered() { answer "$1" "$work/plain" "$2" && flip "$2" "$2.f" 300 && mv "$2.f" "$2"; }
replayed() { cp "$work/signed" "$2"; }
flip() {  # flip IN OUT OFFSET
  python3 -c 'import sys; b=bytearray(open(sys.argv[1],"rb").read()); b[int(sys.argv[3])]^=1; open(sys.argv[2],"wb").write(b)' "$@"
}
exchange "SDK opens the service's signed answer" 0 signed
same "SDK reads the service's bytes" "$work/plain" "$work/x-out"
exchange "SDK opens the Base64 text" 0 signed_b64
same "Base64 text gives the same bytes" "$work/plain" "$work/x-out"
exchange "SDK refuses an unsigned answer" 3 unsigned
exchange "SDK refuses an answer signed by another key" 3 foreign
exchange "SDK refuses an altered answer" 3 altered
exchange "SDK refuses an earlier request's answer" 3 replayed
check "service seals" 0 "$stack" seal --key "$VELORA_STACK_CLIENT_PUBLIC_KEY" "$work/plain" "$work/sealed"

# Damaged input: a null result (exit 3), never a crash.
base64 -w0 "$work/sealed" > "$work/sealed.b64"
size=$(stat -c %s "$work/sealed")
flip "$work/sealed" "$work/flipped-key" 100
flip "$work/sealed" "$work/flipped-body" $((size - 20))
flip "$work/sealed" "$work/flipped-tag" $((size - 1))
head -c $((size - 7)) "$work/sealed" > "$work/cut"
head -c 200 "$work/sealed" > "$work/cut-short"
: > "$work/empty"
"$stack" seal --key "$VELORA_SDK_PUBLIC_KEY" "$work/plain" "$work/foreign"
head -c $((size / 2)) "$work/sealed.b64" > "$work/cut.b64"
for bad in flipped-key flipped-body flipped-tag cut cut-short empty foreign cut.b64; do
  check "SDK refuses $bad" 3 wine "$probe" open "$(w "$work/$bad")" "$(w "$work/never")"
done
[ ! -e "$work/never" ] && echo "ok: nothing written for refused input" || { echo "FAIL: output written"; failures=$((failures + 1)); }

# And the service refuses a damaged request of the SDK.
rsize=$(stat -c %s "$work/request")
flip "$work/request" "$work/request-flipped" $((rsize - 3))
check "service refuses a flipped request" 3 "$stack" open --key "$VELORA_STACK_SERVICE_PRIVATE_KEY" \
  "$work/request-flipped" "$work/never"
check "service refuses the SDK's request with another key" 3 "$stack" open \
  --key "$VELORA_STACK_SERVICE_PRIVATE_KEY" "$work/sealed" "$work/never"

echo "failures: $failures"
[ "$failures" = 0 ]
