// A wall clock a test sets and moves by hand, installed for the test's lifetime.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>

#include "platform/core/time.h"

namespace testing_support {

class FixedClock : public platform::WallClock {
  public:
    explicit FixedClock(std::int64_t unixSeconds) : seconds_(unixSeconds) {
        previous_ = platform::SetWallClock(this);
    }
    ~FixedClock() override { platform::SetWallClock(previous_); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    timespec Now() const override { return timespec{seconds_.load(), 0}; }
    void Set(std::int64_t unixSeconds) { seconds_ = unixSeconds; }
    void Advance(std::int64_t seconds) { seconds_ += seconds; }
    std::int64_t Seconds() const { return seconds_; }

  private:
    std::atomic<std::int64_t> seconds_;
    const platform::WallClock* previous_ = nullptr;
};

}  // namespace testing_support
