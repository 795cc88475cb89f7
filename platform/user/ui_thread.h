// Running work on the user-interface thread from another thread: how SendMessage is marshalled
// and how requests from other processes reach window procedures.
#pragma once

#include <functional>

#include "platform/core/sync.h"
#include "platform/core/types.h"

namespace platform {

// Runs `work` on the UI thread the next time it retrieves messages (GetMessage, PeekMessage, or
// any modal loop), and waits for it to finish or `timeoutMs` to pass. Returns true when it ran.
// Called on the UI thread itself, it runs `work` at once. When the time limit passes first, the
// work is cancelled if it has not started yet.
bool RunOnUiThread(std::function<void()> work, DWORD timeoutMs);

// Installs the one idle handler: message retrieval calls it on the UI thread whenever it would
// otherwise block waiting for input (no posted, sent, paint or due timer message is pending).
// It returns how long the UI thread may then wait for input before calling it again: 0 = call
// again at once (it did something), INFINITE = only after the next input or message. Scripted
// runs drive the program through this hook. An empty function removes the handler.
void SetIdleHandler(std::function<DWORD()> handler);

// True on the thread that created the first window (the UI thread).
bool IsUiThread();

}  // namespace platform
