// The headless backend: a memory screen and an input queue that any thread may feed. Tests and
// scripted runs drive the program through it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/display/backend.h"

namespace platform {

class HeadlessBackend final : public DisplayBackend {
  public:
    explicit HeadlessBackend(const DeviceProfile& profile);

    const DeviceProfile& Profile() const override { return profile_; }
    Surface& Screen() override { return screen_; }
    void Present(const RECT& dirty) override;
    void WaitForInput(DWORD timeoutMs) override;
    void Wake() override;
    bool NextInput(InputEvent& event) override;
    void Rotate() override;
    void Raise() override {}
    bool IsHeadless() const override { return true; }

    // Queues input and wakes a waiting WaitForInput; callable from any thread.
    void Inject(const InputEvent& event);
    // How many times Present was called, and the last rectangle it was given.
    std::uint64_t PresentCount() const { return presents_.load(); }
    RECT LastPresented() const;

  private:
    DeviceProfile profile_;
    Surface screen_;
    mutable std::mutex mutex_;
    std::condition_variable inputReady_;
    std::deque<InputEvent> queue_;
    bool woken_ = false;
    std::atomic<std::uint64_t> presents_{0};
    RECT lastPresented_{0, 0, 0, 0};
};

}  // namespace platform
