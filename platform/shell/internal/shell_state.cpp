#include "platform/shell/internal/shell_state.h"

#include <map>

#include "platform/user/window.h"

namespace platform::shell {
namespace {

std::map<HWND, WindowRecord>& Records() {
    static std::map<HWND, WindowRecord> records;
    return records;
}

}  // namespace

WindowRecord* FindRecord(HWND hwnd) {
    auto it = Records().find(hwnd);
    return it == Records().end() ? nullptr : &it->second;
}

WindowRecord& RecordFor(HWND hwnd) {
    return Records()[hwnd];
}

void PruneRecords() {
    std::erase_if(Records(), [](const auto& entry) { return !IsWindow(entry.first); });
}

void ForEachRecord(const std::function<void(HWND, WindowRecord&)>& visit) {
    for (auto& [hwnd, record] : Records())
        visit(hwnd, record);
}

bool& SipUp() {
    static bool up = false;
    return up;
}

}  // namespace platform::shell
