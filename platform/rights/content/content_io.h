// Reading host files for the protected-file functions: reads that retry on EINTR and short
// reads, and the error numbers the file functions report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/types.h"
#include "platform/fs/host_fs.h"

namespace platform::rights {

// An open regular file and its size; on failure `fd` is invalid and `win32Error` says why.
struct OpenedContent {
    fs::UniqueFd fd;
    std::uint64_t size = 0;
    DWORD win32Error = 0;
};

// Opens `hostPath` for reading. A folder is refused with ERROR_ACCESS_DENIED, as the file
// functions refuse to open one.
OpenedContent OpenContent(const std::string& hostPath);

// Reads up to `count` bytes from `offset`, fewer only at the end of the file. False with
// `win32Error` set when the read fails.
bool ReadContentAt(int fd, std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& out,
                   DWORD& win32Error);

}  // namespace platform::rights
