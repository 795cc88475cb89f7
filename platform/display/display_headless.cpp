#include "platform/display/display_headless.h"

#include <chrono>
#include <utility>

#include "platform/core/sync.h"
#include "platform/display/debug_line.h"
#include "platform/display/display.h"
#include "platform/display/profile.h"

namespace platform {

HeadlessBackend::HeadlessBackend(const DeviceProfile& profile) : profile_(profile) {
    screen_.Resize(profile.width, profile.height);
}

void HeadlessBackend::Present(const RECT& dirty) {
    std::lock_guard lock(mutex_);
    lastPresented_ = dirty;
    presents_.fetch_add(1);
}

RECT HeadlessBackend::LastPresented() const {
    std::lock_guard lock(mutex_);
    return lastPresented_;
}

// A Wake that came before the wait is kept, so a message posted just before the UI thread goes
// to sleep is not slept through.
void HeadlessBackend::WaitForInput(DWORD timeoutMs) {
    std::unique_lock lock(mutex_);
    const auto ready = [this] { return !queue_.empty() || woken_; };
    if (timeoutMs == INFINITE) {
        inputReady_.wait(lock, ready);
    } else {
        inputReady_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    woken_ = false;
}

void HeadlessBackend::Wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    inputReady_.notify_all();
}

void HeadlessBackend::Inject(const InputEvent& event) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(event);
    }
    inputReady_.notify_all();
}

bool HeadlessBackend::NextInput(InputEvent& event) {
    std::lock_guard lock(mutex_);
    if (queue_.empty())
        return false;
    event = queue_.front();
    queue_.pop_front();
    return true;
}

void HeadlessBackend::Rotate() {
    std::swap(profile_.width, profile_.height);
    screen_.Resize(profile_.width, profile_.height);
}

std::unique_ptr<DisplayBackend> CreateHeadlessBackend(const DeviceProfile& profile) {
    if (const std::string problem = ProfileProblem(profile); !problem.empty()) {
        DisplayDebugLine("Headless display not created: " + problem);
        return nullptr;
    }
    return std::make_unique<HeadlessBackend>(profile);
}

}  // namespace platform
