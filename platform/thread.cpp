#include "platform/thread.h"

#include <process.h>

CCorvixBasedThread::CCorvixBasedThread()
    : handle_(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Entry, this, CREATE_SUSPENDED, nullptr))) {}

CCorvixBasedThread::~CCorvixBasedThread() {
  if (!handle_) return;
  // Never started: the entry sees `suspended` and ends without Run.
  if (suspended_) ResumeThread(handle_.Get());
  WaitForSingleObject(handle_.Get(), INFINITE);
  handle_.Reset();
}

void CCorvixBasedThread::Start() {
  if (!handle_) return;
  suspended_ = false;
  ResumeThread(handle_.Get());
}

bool CCorvixBasedThread::IsRunning() const { return handle_ && WaitForSingleObject(handle_.Get(), 1) == WAIT_TIMEOUT; }

void CCorvixBasedThread::ResumeForStop() {
  if (handle_ && suspended_) {
    suspended_ = false;
    ResumeThread(handle_.Get());
  }
}

void CCorvixBasedThread::StopWithGrace() {
  ResumeForStop();
  if (handle_ && WaitForSingleObject(handle_.Get(), 1) == WAIT_TIMEOUT) TerminateThread(handle_.Get(), 0);
}

void CCorvixBasedThread::StopAndWait() {
  ResumeForStop();
  if (handle_) WaitForSingleObject(handle_.Get(), INFINITE);
}

unsigned __stdcall CCorvixBasedThread::Entry(void* self) {
  auto* thread = static_cast<CCorvixBasedThread*>(self);
  unsigned code = thread->suspended_ ? 0xFFFFFFFFu : thread->Run();
  _endthreadex(code);
  return code;
}
