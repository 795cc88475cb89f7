#include "tools/drm/drm_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

#include <openssl/rand.h>

namespace drmtool {
namespace {

std::string SystemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

// Closes the descriptor when the write is done with it.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now, so that a failing close (a full disk over NFS) is seen.
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

std::optional<Bytes> ReadWholeFile(const std::string& path, std::uint64_t maxSize,
                                   std::string& error) {
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code)) {
        error = code ? SystemError("cannot read " + path, code.value())
                     : "cannot read " + path + ": not a regular file";
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    if (code) {
        error = SystemError("cannot read " + path, code.value());
        return std::nullopt;
    }
    if (size > maxSize) {
        error = path + " is larger than the " + std::to_string(maxSize) + " bytes allowed";
        return std::nullopt;
    }
    std::ifstream stream(path, std::ios::binary);
    Bytes bytes(static_cast<std::size_t>(size));
    if (!stream || !stream.read(reinterpret_cast<char*>(bytes.data()),
                                static_cast<std::streamsize>(bytes.size()))) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    // The file may have grown since its size was taken; what is read must be all of it.
    if (stream.peek() != std::ifstream::traits_type::eof()) {
        error = path + " changed while it was read";
        return std::nullopt;
    }
    return bytes;
}

std::optional<PendingFile> PendingFile::Write(const std::string& target,
                                              std::span<const std::uint8_t> bytes,
                                              std::string& error) {
    std::filesystem::path folder = std::filesystem::path(target).parent_path();
    if (folder.empty())
        folder = ".";
    std::string pattern =
        (folder / ("." + std::filesystem::path(target).filename().string() + ".XXXXXX")).string();
    Descriptor fd(::mkstemp(pattern.data()));
    if (fd.Get() < 0) {
        error = SystemError("cannot write " + target, errno);
        return std::nullopt;
    }
    PendingFile pending(target, pattern);
    // mkstemp makes the file private; the content is meant to be shared like any other file.
    const bool written =
        ::fchmod(fd.Get(), 0644) == 0 && WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
    const int writeError = errno;
    if (!fd.Close() || !written) {
        error = SystemError("cannot write " + target, written ? errno : writeError);
        return std::nullopt;
    }
    return pending;
}

PendingFile::PendingFile(std::string target, std::string temporary)
    : target_(std::move(target)), temporary_(std::move(temporary)) {}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::exchange(other.temporary_, {})) {}

PendingFile::~PendingFile() {
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

bool PendingFile::Commit(std::string& error) {
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = SystemError("cannot write " + target_, errno);
        return false;
    }
    temporary_.clear();
    return true;
}

bool RandomBytes(std::span<std::uint8_t> out) {
    return RAND_bytes(out.data(), static_cast<int>(out.size())) == 1;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

bool SamePath(const std::string& a, const std::string& b) {
    std::error_code codeA;
    std::error_code codeB;
    const auto first = std::filesystem::weakly_canonical(a, codeA);
    const auto second = std::filesystem::weakly_canonical(b, codeB);
    if (codeA || codeB)
        return a == b;
    return first == second;
}

}  // namespace drmtool
