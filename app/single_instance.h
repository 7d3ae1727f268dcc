#pragma once
#include "platform/handle.h"

// The mark of the first running copy: a named mutex owned from construction
// to destruction, the very end of shut-down. Constructing it in a second copy
// asks the first one's window to come forward and ends the process with exit
// code 0; so construction returns only in the first copy.
class SingleInstance {
 public:
  SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

 private:
  UniqueHandle mutex_;
};
