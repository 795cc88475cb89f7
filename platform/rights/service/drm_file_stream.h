// The handle FileDrmCreateFile returns: the clear content in memory, read-only, and what a later
// FileDrmCommitRights needs to spend a use of it.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/fs/file_io.h"
#include "platform/rights/content/protected_file.h"

namespace platform::rights {

class DrmFileStream final : public FileStream {
  public:
    DrmFileStream(std::vector<std::uint8_t> content, DeliveryMethod method, std::string uid)
        : content_(std::move(content)), method_(method), uid_(std::move(uid)) {}

    DWORD Read(void* buffer, DWORD size, DWORD& done) override;
    DWORD Write(const void* buffer, DWORD size, DWORD& done) override;
    DWORD Position(std::uint64_t& position) override;
    DWORD SetPosition(std::uint64_t position) override;
    DWORD Size(std::uint64_t& size) override;
    DWORD Truncate() override;

    DeliveryMethod Method() const { return method_; }
    const std::string& Uid() const { return uid_; }

  private:
    std::mutex mutex_;
    const std::vector<std::uint8_t> content_;
    std::uint64_t position_ = 0;
    const DeliveryMethod method_;
    const std::string uid_;
};

}  // namespace platform::rights
