#include "net/dns_resolver.h"

#include <iphlpapi.h>
#include <winsock2.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "net/socket.h"
#include "platform/handle.h"
#include "velora_profile.h"

namespace {

constexpr size_t kHeaderSize = 12;
constexpr int kMaxJumps = 16;
constexpr int kReplyWaitSeconds = 3;

uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// Skips the (possibly compressed) name at pos; the position after it in the
// record, or 0 when it leaves the packet or jumps too often.
size_t SkipName(const uint8_t* packet, size_t size, size_t pos) {
  size_t after = 0;  // where the record goes on once the first jump was taken
  for (int jumps = 0;;) {
    if (pos >= size) return 0;
    uint8_t length = packet[pos];
    if (length == 0) return after ? after : pos + 1;
    if (length >= 0xC0) {
      if (pos + 1 >= size || ++jumps > kMaxJumps) return 0;
      if (!after) after = pos + 2;
      pos = size_t(length & 0x3F) << 8 | packet[pos + 1];
    } else if (length > 63) {
      return 0;
    } else {
      pos += 1 + length;
    }
  }
}

bool SameQuestion(const std::vector<uint8_t>& query, const uint8_t* reply, size_t size) {
  if (size < query.size()) return false;
  if (reply[0] != query[0] || reply[1] != query[1]) return false;
  for (size_t i = kHeaderSize; i < query.size(); ++i)
    if (tolower(reply[i]) != tolower(query[i])) return false;
  return true;
}

std::vector<std::string> SystemDnsServers() {
  std::vector<std::string> servers;
  // The fixed part is 584 bytes; further servers of the list need more.
  std::vector<char> buffer(584);
  ULONG size = ULONG(buffer.size());
  DWORD status = GetNetworkParams(reinterpret_cast<FIXED_INFO*>(buffer.data()), &size);
  if (status == ERROR_BUFFER_OVERFLOW) {
    buffer.resize(size);
    status = GetNetworkParams(reinterpret_cast<FIXED_INFO*>(buffer.data()), &size);
  }
  if (status != ERROR_SUCCESS) return servers;
  for (const IP_ADDR_STRING* entry = &reinterpret_cast<FIXED_INFO*>(buffer.data())->DnsServerList; entry;
       entry = entry->Next)
    if (entry->IpAddress.String[0]) servers.push_back(entry->IpAddress.String);
  return servers;
}

std::string ChooseServer(const char* server) {
  if (server && IsDottedIPv4(server)) return server;
  std::vector<std::string> servers = SystemDnsServers();
  return servers.empty() ? profile::kPublicDns[0] : servers.front();
}

// Waits for the reply; false on time-out or a socket error.
bool WaitReadable(SOCKET socket) {
  for (;;) {
    fd_set readable, failed;
    FD_ZERO(&readable);
    FD_ZERO(&failed);
    FD_SET(socket, &readable);
    FD_SET(socket, &failed);
    timeval wait = {kReplyWaitSeconds, 0};
    int ready = select(0, &readable, nullptr, &failed, &wait);
    if (ready == SOCKET_ERROR && WSAGetLastError() == WSAEINTR) continue;
    return ready > 0 && FD_ISSET(socket, &readable) && !FD_ISSET(socket, &failed);
  }
}

// The same wait, also ended by the cancel event; readable was selected for
// the socket's reads before the query went out, so an early reply counts.
bool WaitReadableOrCancel(HANDLE readable, HANDLE cancel) {
  HANDLE waits[] = {readable, cancel};
  return WaitForMultipleObjects(2, waits, FALSE, kReplyWaitSeconds * 1000) == WAIT_OBJECT_0;
}

}  // namespace

bool IsDottedIPv4(const char* text) {
  if (!text) return false;
  int parts = 0;
  for (const char* p = text;; ++p) {
    int digits = 0, value = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
      value = value * 10 + (*p - '0');
      if (value > 255) return false;
    }
    if (digits == 0) return false;
    ++parts;
    if (*p == '\0') return parts == 4;
    if (*p != '.' || parts == 4) return false;
  }
}

bool FormatIPv4(uint32_t address, char* buffer, size_t size) {
  if (!buffer || size < 16) return false;
  const uint8_t* b = reinterpret_cast<const uint8_t*>(&address);
  snprintf(buffer, size, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  return true;
}

std::vector<uint8_t> BuildDnsQuery(const std::string& host, uint16_t id) {
  std::vector<uint8_t> query = {uint8_t(id & 0xFF), uint8_t(id >> 8), 0x01, 0x00, 0, 1, 0, 0, 0, 0, 0, 0};
  std::string name = host + ".";
  size_t start = 0;
  for (size_t dot = name.find('.'); dot != std::string::npos; start = dot + 1, dot = name.find('.', start)) {
    size_t length = dot - start;
    if (length == 0 || length > 63) return {};
    query.push_back(uint8_t(length));
    query.insert(query.end(), name.begin() + start, name.begin() + dot);
  }
  query.insert(query.end(), {0, 0, 1, 0, 1});
  return query;
}

int ParseDnsReply(const std::vector<uint8_t>& query, const uint8_t* reply, size_t size, DnsResult* result) {
  result->count = 0;
  if (query.empty() || !SameQuestion(query, reply, size)) return -1;
  int records = ReadU16(reply + 6);
  if (records > kDnsMaxAddresses) records = kDnsMaxAddresses;
  DnsResult found;
  size_t pos = query.size();
  for (int i = 0; i < records; ++i) {
    pos = SkipName(reply, size, pos);
    if (pos == 0 || pos + 10 > size) return -1;
    uint16_t type = ReadU16(reply + pos);
    size_t length = ReadU16(reply + pos + 8);
    pos += 10;
    if (pos + length > size) return -1;
    if (type == 1 && length >= 4) memcpy(&found.addresses[found.count++], reply + pos, 4);
    // Other records (a CNAME's name among them) are passed over by their length.
    pos += length;
  }
  *result = found;
  return found.count >= 1 ? 0 : -1;
}

int ResolveA(const char* server, const char* host, DnsResult* result, HANDLE cancel) {
  if (!host || !result) return -1;
  result->count = 0;
  std::vector<uint8_t> query = BuildDnsQuery(host, uint16_t(GetCurrentProcessId() & 0xFFFF));
  if (query.empty()) return -1;
  UniqueSocket socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  if (!socket.Valid()) return -1;
  UniqueHandle readable;
  if (cancel) {
    if (WaitForSingleObject(cancel, 0) == WAIT_OBJECT_0) return -1;
    readable.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!readable || WSAEventSelect(socket.Get(), readable.Get(), FD_READ) != 0) return -1;
  }
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(53);
  to.sin_addr.s_addr = inet_addr(ChooseServer(server).c_str());
  if (sendto(socket.Get(), reinterpret_cast<const char*>(query.data()), int(query.size()), 0,
             reinterpret_cast<const sockaddr*>(&to), sizeof to) == SOCKET_ERROR)
    return -1;
  if (cancel ? !WaitReadableOrCancel(readable.Get(), cancel) : !WaitReadable(socket.Get())) return -1;
  std::vector<uint8_t> reply(65536);
  int got = recvfrom(socket.Get(), reinterpret_cast<char*>(reply.data()), int(reply.size()), 0, nullptr, nullptr);
  if (got <= 0) return -1;
  return ParseDnsReply(query, reply.data(), size_t(got), result);
}
