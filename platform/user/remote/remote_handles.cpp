#include "platform/user/remote/remote_handles.h"

namespace platform {
namespace {

uintptr_t Value(HWND hwnd) {
    return reinterpret_cast<uintptr_t>(hwnd);
}

}  // namespace

RemoteHandleTable& RemoteHandleTable::Instance() {
    static RemoteHandleTable table;
    return table;
}

HWND RemoteHandleTable::Insert(const RemoteEndpoint& endpoint) {
    std::lock_guard<std::mutex> guard(mutex_);
    for (const auto& [value, known] : entries_) {
        if (known.socketPath == endpoint.socketPath && known.token == endpoint.token)
            return reinterpret_cast<HWND>(value);
    }
    // Values only grow (the map's first entry is the oldest), so a forgotten handle never comes
    // back meaning another window.
    if (entries_.size() >= kMaxEntries)
        entries_.erase(entries_.begin());
    const uintptr_t value = next_;
    next_ += kHandleStep;
    entries_.emplace(value, endpoint);
    return reinterpret_cast<HWND>(value);
}

std::optional<RemoteEndpoint> RemoteHandleTable::Lookup(HWND hwnd) const {
    std::lock_guard<std::mutex> guard(mutex_);
    const auto found = entries_.find(Value(hwnd));
    if (found == entries_.end())
        return std::nullopt;
    return found->second;
}

bool RemoteHandleTable::Contains(HWND hwnd) const {
    std::lock_guard<std::mutex> guard(mutex_);
    return entries_.count(Value(hwnd)) != 0;
}

void RemoteHandleTable::Remove(HWND hwnd) {
    std::lock_guard<std::mutex> guard(mutex_);
    entries_.erase(Value(hwnd));
}

}  // namespace platform
