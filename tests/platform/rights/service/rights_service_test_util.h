// Shared by the service's tests: a recorder in place of the message box, and terms by name.
#pragma once

#include <string>
#include <vector>

#include "platform/core/wstring.h"
#include "platform/rights/service/rights_service.h"
#include "tests/support/rights_fixtures.h"

namespace service_test {

// The fixed "now" of every test: 2027-01-15 08:00 UTC.
inline constexpr std::int64_t kNow = 1'800'000'000;
inline constexpr std::int64_t kDay = 86'400;

struct ShownMessage {
    std::string text;
    UINT type = 0;
};

// Records every message the service would show and answers with the button given.
class MessageRecorder {
  public:
    explicit MessageRecorder(int answer) {
        Shown().clear();
        Answer() = answer;
        previous_ = platform::rights::SetRightsMessageBoxForTesting(&Box);
    }
    ~MessageRecorder() { platform::rights::SetRightsMessageBoxForTesting(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<ShownMessage>& Messages() const { return Shown(); }
    void Clear() { Shown().clear(); }

  private:
    static std::vector<ShownMessage>& Shown() {
        static std::vector<ShownMessage> shown;
        return shown;
    }
    static int& Answer() {
        static int answer = 0;
        return answer;
    }
    static int Box(HWND, LPCWSTR text, LPCWSTR, UINT type) {
        Shown().push_back({platform::ToUtf8(text), type});
        return Answer();
    }
    platform::rights::RightsMessageBox previous_ = nullptr;
};

inline testing_support::Terms Unlimited() {
    return {};
}
inline testing_support::Terms Count(std::uint32_t count) {
    testing_support::Terms terms;
    terms.count = count;
    return terms;
}
inline testing_support::Terms Window(std::optional<std::int64_t> start,
                                     std::optional<std::int64_t> end) {
    testing_support::Terms terms;
    terms.start = start;
    terms.end = end;
    return terms;
}
inline testing_support::Terms Interval(std::int64_t seconds) {
    testing_support::Terms terms;
    terms.interval = seconds;
    return terms;
}

// Every row of the store, to show that something changed nothing.
inline std::string StoreRows() {
    std::string rows;
    platform::rights::WithStore([&rows](platform::rights::RightsStore& store) {
        for (const auto& stored : store.All()) {
            rows += std::to_string(stored.id) + " " + stored.object.uid + ":";
            for (const auto& [permission, state] : stored.state) {
                rows += " " + std::to_string(static_cast<int>(permission)) + "=" +
                        (state.remainingCount ? std::to_string(*state.remainingCount) : "-") + "/" +
                        (state.intervalEnd ? std::to_string(*state.intervalEnd) : "-");
            }
            rows += "\n";
        }
    });
    return rows;
}

}  // namespace service_test
