# The local service stack on loopback; sourced by scripts/bench/inside, which
# has loaded the profile's values.

stack_pids=()

# The system resolver of the bench, answering the profile's names.
start_dns() {
  local args=(--keep-in-foreground --conf-file=/dev/null --no-resolv --no-hosts --no-poll
              --user=root --bind-interfaces --listen-address="$VELORA_SYSTEM_DNS" --port=53
              --pid-file="$bench/dnsmasq.pid" --log-facility="$bench/dnsmasq.log")
  local pair
  for pair in "$VELORA_PKG_HOST=$VELORA_PKG_IP" "$VELORA_GATEWAY_HOST=$VELORA_GATEWAY_IP" \
              "$VELORA_CDN_HOST=$VELORA_CDN_IP" "$VELORA_WEB_HOST=$VELORA_WEB_IP" \
              "$VELORA_OV_HOST=$VELORA_OV_IP"; do
    args+=(--address="/${pair%%=*}/${pair#*=}")
  done
  dnsmasq "${args[@]}" &
  stack_pids+=($!)
  wait_for_udp "$VELORA_SYSTEM_DNS" 53
}

# Waits until something listens on the UDP address, at most 5 s.
wait_for_udp() {
  for _ in $(seq 100); do
    ss -Hlun "src $1:$2" | grep -q . && return 0
    sleep 0.05
  done
  return 1
}

# The analytics collector; tests reach its database through
# VELORA_ANALYTICS_DB and control it with scripts/bench/collector.
start_collector() {
  export VELORA_ANALYTICS_DB=$bench/analytics.db
  "$VELORA_ROOT/scripts/bench/collector" start
}

stack_up() {
  start_dns && start_collector
}

stack_down() {
  local p
  "$VELORA_ROOT/scripts/bench/collector" stop
  for p in "${stack_pids[@]}"; do kill "$p" 2>/dev/null; done
  stack_pids=()
}
