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

# Waits until something listens on ADDRESS PORT, at most 5 s; PROTOCOL is
# u (UDP) or t (TCP).
wait_for_listener() {
  for _ in $(seq 100); do
    ss -Hl"$1"n "src $2:$3" | grep -q . && return 0
    sleep 0.05
  done
  return 1
}
wait_for_udp() { wait_for_listener u "$@"; }
wait_for_tcp() { wait_for_listener t "$@"; }

# Copies a configuration file of stack/ to DEST with every @BENCH@ and
# @VELORA_...@ filled in from the bench and the profile.
fill_config() {
  local script="s|@BENCH@|$bench|g" name
  for name in $(compgen -e VELORA_); do script+=";s|@$name@|${!name}|g"; done
  sed "$script" "$VELORA_ROOT/stack/$1" > "$2"
}

# The stand-ins of the public resolvers, on all six of their addresses.
start_public_dns() {
  local ip i
  {
    echo "$VELORA_CDN_IP $VELORA_CDN_HOST $VELORA_PUBLIC_ONLY_HOST"
    for i in $(seq 1 25); do echo "$VELORA_MANY_PREFIX$i $VELORA_MANY_HOST"; done
  } > "$bench/public.hosts"
  fill_config dns/public.conf "$bench/public-dns.conf"
  local args=(--keep-in-foreground --conf-file="$bench/public-dns.conf" --user=root
              --pid-file="$bench/public-dns.pid" --log-facility="$bench/public-dns.log")
  for ip in $VELORA_PUBLIC_DNS; do args+=(--listen-address="$ip"); done
  dnsmasq "${args[@]}" &
  stack_pids+=($!)
  for ip in $VELORA_PUBLIC_DNS; do wait_for_udp "$ip" 53 || return 1; done
}

# nginx as the CDN: a sample file and the proxy auto-configuration scripts.
start_cdn() {
  mkdir -p "$bench/nginx" "$bench/cdn/net"
  fill_config cdn/nginx.conf "$bench/nginx/nginx.conf"
  fill_config cdn/proxy.pac "$bench/cdn/proxy.pac"
  fill_config cdn/direct.pac "$bench/cdn/direct.pac"
  head -c 300000 /dev/urandom > "$bench/cdn/net/sample.bin"
  echo "a small text file on the CDN" > "$bench/cdn/net/small.txt"
  nginx -p "$bench/nginx" -c "$bench/nginx/nginx.conf" -e "$bench/nginx/error.log" &
  stack_pids+=($!)
  wait_for_tcp "$VELORA_CDN_IP" 80
}

# The user's proxy and one that wants credentials. The bench itself finds the
# far host where nothing listens; the proxies run with a hosts file of their
# own that puts it on the CDN, so only a tunnel reaches it.
start_proxies() {
  { cat /etc/hosts; echo "$VELORA_FAR_DIRECT_IP $VELORA_FAR_HOST"; } > "$bench/hosts"
  { cat /etc/hosts; echo "$VELORA_CDN_IP $VELORA_FAR_HOST"; } > "$bench/proxy-hosts"
  mount --bind "$bench/hosts" /etc/hosts || return 1
  local kind
  for kind in open auth; do
    fill_config "proxy/$kind.conf" "$bench/proxy-$kind.conf"
    unshare --mount sh -c 'mount --bind "$1" /etc/hosts && exec tinyproxy -d -c "$2"' _ \
      "$bench/proxy-hosts" "$bench/proxy-$kind.conf" > /dev/null 2>&1 &
    stack_pids+=($!)
  done
  wait_for_tcp "$VELORA_PROXY_IP" "$VELORA_PROXY_PORT" && wait_for_tcp "$VELORA_AUTH_PROXY_IP" "$VELORA_PROXY_PORT"
}

# The package on the CDN and the catalog that describes it (size and MD5 are
# computed from the file by the services as they start): the product's setup
# program when it is built, else random bytes.
make_package() {
  local dir=$bench/cdn/application/soft_package/pc/57203816/software
  local setup=$VELORA_ROOT/build/win/tools/velora-pkg-setup.exe
  mkdir -p "$dir" "$bench/services"
  if [ -f "$setup" ]; then cp "$setup" "$dir/install.exe"; else head -c 1500000 /dev/urandom > "$dir/install.exe"; fi
  fill_config services/catalog.json "$bench/services/catalog.json"
  fill_config services/channels.json "$bench/services/channels.json"
  export VELORA_CATALOG=$bench/services/catalog.json
}

# The analytics collector with the package service on the package host; tests
# reach its database through VELORA_ANALYTICS_DB and control it with
# scripts/bench/collector.
start_collector() {
  export VELORA_ANALYTICS_DB=$bench/analytics.db
  "$VELORA_ROOT/scripts/bench/collector" start
}

# serve NAME IP ARGS...: one service process of velora-stack on IP:80.
serve() {
  local name=$1 ip=$2
  shift 2
  "$VELORA_ROOT/build/host/backend/velora-stack" serve --listen "$ip:80" "$@" >> "$bench/$name.log" 2>&1 &
  stack_pids+=($!)
  wait_for_tcp "$ip" 80
}

# The package service on its fallback address, the gateway (with the banner
# GIF) and the attribution service, whose reports tests read from
# VELORA_REPORTS_DB. Each takes faults through its admin path.
start_services() {
  export VELORA_REPORTS_DB=$bench/reports.db
  serve package-fallback "$VELORA_PKG_FALLBACK_IP" --catalog "$VELORA_CATALOG" \
    --service-key "$VELORA_STACK_SERVICE_PRIVATE_KEY" --client-key "$VELORA_STACK_CLIENT_PUBLIC_KEY" &&
  serve gateway "$VELORA_GATEWAY_IP" --channels "$bench/services/channels.json" --gif "$VELORA_ROOT/build/host/backend/banner.gif" \
    --gif-url "http://$VELORA_GATEWAY_HOST/static/banner.gif" &&
  serve attribution "$VELORA_OV_IP" --reports "$VELORA_REPORTS_DB"
}

# The download tests' packages on the CDN, and the fault origin that serves
# the same files with faults chosen by path (backend/fault_origin.h).
start_origin() {
  mkdir -p "$bench/cdn/pkg"
  head -c 1001 /dev/urandom > "$bench/cdn/pkg/small.bin"
  head -c 2097152 /dev/urandom > "$bench/cdn/pkg/large.bin"
  "$VELORA_ROOT/build/host/backend/velora-origin" "$VELORA_ORIGIN_IP" 80 "$bench/cdn" "$bench/origin.log" \
    >> "$bench/origin.err" 2>&1 &
  stack_pids+=($!)
  wait_for_tcp "$VELORA_ORIGIN_IP" 80
}

stack_up() {
  start_dns && start_public_dns && start_cdn && start_origin && make_package && start_proxies && start_collector && start_services
}

stack_down() {
  local p
  "$VELORA_ROOT/scripts/bench/collector" stop
  for p in "${stack_pids[@]}"; do kill "$p" 2>/dev/null; done
  stack_pids=()
}
