#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "sdk/http_post.h"

// The background sender of one SDK handle. Committed records go into a
// bounded queue; a thread of its own writes them to the spool file, posts
// them in batches to the configured sensor address, and drops them from the
// spool once the collector has acknowledged them. Records left in the spool
// by an earlier run are sent first. The caller's thread never waits for the
// network.
class Sender {
 public:
  static constexpr size_t kMaxQueued = 5000;
  static constexpr size_t kBatch = 100;

  Sender(std::wstring spoolPath, std::unique_ptr<Transport> transport);
  Sender(const Sender&) = delete;
  Sender& operator=(const Sender&) = delete;
  // Stops within the bound of Stop if it was not stopped before.
  ~Sender();

  // Queues one record's JSON; false when the queue is full or stopped.
  bool Enqueue(std::string recordJson);
  // Writes what is still queued to the spool, gives the thread up to waitMs
  // to deliver what it can, and returns; a thread stuck in the network is
  // left behind and ends on its own.
  void Stop(uint32_t waitMs);

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  bool stopped_ = false;
};
