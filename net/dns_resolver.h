#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A small DNS client over UDP: one A query to one server, for host names the
// system resolver does not know.

inline constexpr int kDnsMaxAddresses = 20;

struct DnsResult {
  int count = 0;
  uint32_t addresses[kDnsMaxAddresses] = {};  // network byte order, answer order
};

// Asks for the A records of host. The server is server when that is dotted
// IPv4 text, else the first DNS server of the system, else the first public
// resolver of the profile. Waits at most 3 s for the one reply, and not at
// all once the cancel event (manual-reset, may be null) is set. 0 when at
// least one address was found, -1 otherwise (also for a null host or result).
int ResolveA(const char* server, const char* host, DnsResult* result, HANDLE cancel = nullptr);

// Exactly four decimal parts of digits only, each at most 255, separated by
// single dots; leading zeros are allowed.
bool IsDottedIPv4(const char* text);

// Writes the dotted decimal text of an address in network order; false when
// the buffer is smaller than 16 bytes.
bool FormatIPv4(uint32_t address, char* buffer, size_t size);

// The A query for host with the given identifier; empty when host cannot be
// written in label form (an empty label or one longer than 63 bytes).
std::vector<uint8_t> BuildDnsQuery(const std::string& host, uint16_t id);

// Reads the addresses of the A records of a reply to query. -1 when the reply
// does not answer that query (identifier, question) or breaks its own bounds:
// a name or record running past the end, or more than a few compression
// jumps in one name.
int ParseDnsReply(const std::vector<uint8_t>& query, const uint8_t* reply, size_t size, DnsResult* result);
