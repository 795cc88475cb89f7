// The UI thread's side of RunOnUiThread and the idle handler, used by message retrieval.
#pragma once

#include "platform/core/types.h"

namespace platform::wm {

// Makes the calling thread the UI thread when there is none yet; true when it is the UI thread.
bool ClaimUiThread();
// The kernel thread id of the UI thread (0 before one exists).
DWORD UiThreadKernelId();

// Runs the work other threads queued, oldest first (UI thread).
void RunPendingUiWork();

// Runs the idle handler and returns how long the thread may wait for input: INFINITE without a
// handler, and also when called again from inside the handler (it does not nest).
DWORD RunIdleHandler();

// True while the UI thread handles a message that another thread sent.
bool InCrossThreadSend();
// Marks the handling of a message sent from another thread (true) or from this one (false).
class SendOriginScope {
  public:
    explicit SendOriginScope(bool crossThread);
    ~SendOriginScope();
    SendOriginScope(const SendOriginScope&) = delete;
    SendOriginScope& operator=(const SendOriginScope&) = delete;

  private:
    bool previous_;
};

}  // namespace platform::wm
