// Files as the tool reads and writes them: inputs read whole, outputs written beside their target
// and renamed over it only once complete, and random bytes from OpenSSL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drmtool {

using Bytes = std::vector<std::uint8_t>;

// A regular file's whole content, at most `maxSize` bytes; nullopt with `error` set otherwise.
std::optional<Bytes> ReadWholeFile(const std::string& path, std::uint64_t maxSize,
                                   std::string& error);

// An output written completely to a temporary file in the target's folder. Commit renames it over
// the target; a file never committed is removed, so a failed command leaves nothing behind.
class PendingFile {
  public:
    static std::optional<PendingFile> Write(const std::string& target,
                                            std::span<const std::uint8_t> bytes,
                                            std::string& error);
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    bool Commit(std::string& error);

  private:
    PendingFile(std::string target, std::string temporary);
    std::string target_;
    std::string temporary_;  // empty once committed or moved from
};

// Cryptographically strong random bytes; false when OpenSSL cannot provide them.
bool RandomBytes(std::span<std::uint8_t> out);

std::string Hex(std::span<const std::uint8_t> bytes);

// True when both names lead to the same file, existing or not.
bool SamePath(const std::string& a, const std::string& b);

}  // namespace drmtool
