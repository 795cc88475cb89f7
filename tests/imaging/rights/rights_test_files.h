// Protected files for the rights-record tests, written onto a temporary device at run time, with a
// fixed wall clock so that dates in the rights are judged against a known moment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rights/rel/rights_object.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/rights_fixtures.h"

namespace rights_test {

using platform::rights::Permission;
using testing_support::Bytes;
using testing_support::Terms;

constexpr std::int64_t kNow = 1'800'000'000;  // January 2027
constexpr std::int64_t kDay = 86'400;

using testing_support::CountTerms;
using testing_support::SpendOneUse;
inline Terms DateTerms(std::int64_t start, std::int64_t end) {
    Terms terms;
    terms.start = start;
    terms.end = end;
    return terms;
}
inline Terms IntervalTerms(std::int64_t seconds) {
    Terms terms;
    terms.interval = seconds;
    return terms;
}

// What a case puts on the device besides the protected file itself.
enum class Installed { Nothing, Rights };

class RightsFiles {
  public:
    RightsFiles() : clock_(kNow) {}

    testing_support::RightsDevice& Device() { return device_; }
    testing_support::FixedClock& Clock() { return clock_; }

    std::u16string Plain(std::u16string_view name);
    std::u16string ForwardLock(std::u16string_view name, std::string_view contentType);
    std::u16string Combined(std::u16string_view name, std::string_view contentType,
                            Permission permission, const Terms& terms);
    // Separate delivery; its rights are installed only when asked.
    std::u16string Separate(std::u16string_view name, std::string_view contentType,
                            Permission permission, const Terms& terms, Installed installed,
                            std::string_view rightsIssuer = {});
    // Separate delivery whose one rights object grants play and display with their own terms.
    std::u16string SeparatePlayAndDisplay(std::u16string_view name, const Terms& play,
                                          const Terms& display);
    // A file that starts as separate delivery but whose container is cut short.
    std::u16string Damaged(std::u16string_view name);

  private:
    std::u16string Put(std::u16string_view name, const Bytes& bytes);
    std::string NextUid();

    testing_support::RightsDevice device_;
    testing_support::FixedClock clock_;
    int uids_ = 0;
};

// Opens the clear content and spends one use of `right`, as the viewer does; false when the
// service refuses.

}  // namespace rights_test
