// A client that speaks to a published window's socket byte by byte, for sending what our own
// sender never would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/user/remote/unique_fd.h"

namespace remote_test {

platform::UniqueFd RawConnect(const std::string& socketPath);
bool RawSend(int fd, const std::vector<uint8_t>& bytes);

struct RawAnswer {
    std::vector<uint8_t> bytes;
    bool closed = false;  // the other end closed the connection
};
// Everything the other end sends until it closes or `timeoutMs` pass.
RawAnswer RawReadAll(int fd, int timeoutMs);

// The publication token, learned with a probe as FindWindow does.
std::optional<uint64_t> RawProbeToken(const std::string& socketPath,
                                      const std::u16string& className, const std::u16string& title);

}  // namespace remote_test
