#include "services/service_thread.h"

void CServiceThread::StopBounded() {
  stop_.Stop();
  HANDLE thread = ThreadHandle();
  if (thread && WaitForSingleObject(thread, kServiceStopBoundMs) == WAIT_TIMEOUT)
    StopWithGrace();  // the last resort: a body that did not heed its signal
  else
    StopAndWait();  // returns at once: the body has ended
}
