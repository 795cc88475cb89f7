// The file stream behind a handle that CreateFileW opened on a host file.
#pragma once

#include "platform/fs/file_io.h"
#include "platform/fs/host_fs.h"

namespace platform::fs {

class HostFileStream final : public FileStream {
  public:
    HostFileStream(UniqueFd fd, bool canRead, bool canWrite)
        : fd_(std::move(fd)), canRead_(canRead), canWrite_(canWrite) {}

    DWORD Read(void* buffer, DWORD size, DWORD& done) override;
    DWORD Write(const void* buffer, DWORD size, DWORD& done) override;
    DWORD Position(std::uint64_t& position) override;
    DWORD SetPosition(std::uint64_t position) override;
    DWORD Size(std::uint64_t& size) override;
    DWORD GetTimes(FILETIME* creation, FILETIME* access, FILETIME* write) override;
    DWORD SetTimes(const FILETIME* creation, const FILETIME* access,
                   const FILETIME* write) override;
    DWORD Truncate() override;
    DWORD Flush() override;

  private:
    UniqueFd fd_;
    bool canRead_;
    bool canWrite_;
};

}  // namespace platform::fs
