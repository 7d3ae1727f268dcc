#pragma once
#include "app/app_context.h"

// Holds AppContext's lock for one scope; does nothing without a context
// (before start-up has created it).
class ContextLock {
 public:
  explicit ContextLock(AppContext* context) : context_(context) {
    if (context_) context_->lock.Lock();
  }
  ContextLock(const ContextLock&) = delete;
  ContextLock& operator=(const ContextLock&) = delete;
  ~ContextLock() {
    if (context_) context_->lock.Unlock();
  }

 private:
  AppContext* context_;
};
