#pragma once
#include <cstdint>
#include <string>

#include "net/tcp_http.h"
#include "services/stop_signal.h"

// One exchange of a service thread with its service on port 80, with the
// receive and send time-outs of 5000 ms and the connection attached to the
// thread's stop signal, which also ends its name lookup. Any failure gives an
// empty answer.
template <typename Exchange>
std::string AskService(StopSignal& stop, const std::string& host, Exchange exchange) {
  try {
    CTCPHttp http(host, 80, stop.Event());
    http.SetTimeouts(5000, 5000);
    StopSignal::Attached attached(stop, http);
    return exchange(http);
  } catch (...) {
    return std::string();
  }
}

// The installer's own ProductVersion in UTF-8, or "0.9.0.1" when it has none.
std::string InstallerVersion();
