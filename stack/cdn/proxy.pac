function FindProxyForURL(url, host) {
  return "PROXY @VELORA_PROXY_IP@:@VELORA_PROXY_PORT@";
}
