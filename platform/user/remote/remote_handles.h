// Handles that stand for windows of other processes. They come from a range of their own, so
// they never collide with local window handles, and they are multiples of 4, so the low-bit tag
// of SetForegroundWindow(hwnd | 1) can be stripped from them like from any other handle.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/core/types.h"

namespace platform {

// What a remote handle leads to: a socket, the window's confirmed names, and the token of the
// publication it was found under.
struct RemoteEndpoint {
    std::string socketPath;
    std::u16string className;
    std::u16string title;
    uint64_t token = 0;
};

class RemoteHandleTable {
  public:
    static RemoteHandleTable& Instance();

    // Finding the same publication twice gives the same handle, as FindWindow does locally.
    HWND Insert(const RemoteEndpoint& endpoint);
    std::optional<RemoteEndpoint> Lookup(HWND hwnd) const;
    bool Contains(HWND hwnd) const;
    // Forgets a handle whose window is gone; it is never handed out again.
    void Remove(HWND hwnd);

    static constexpr uintptr_t kFirstHandle = 0x7E000000;
    static constexpr uintptr_t kHandleStep = 4;
    // Bounds the table; the oldest handle is forgotten first.
    static constexpr size_t kMaxEntries = 256;

  private:
    mutable std::mutex mutex_;
    std::map<uintptr_t, RemoteEndpoint> entries_;
    uintptr_t next_ = kFirstHandle;
};

}  // namespace platform
