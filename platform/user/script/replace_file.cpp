#include "platform/user/script/replace_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace platform {
namespace {

// Owns a temporary file until it has been renamed into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& target) : name_(target + ".XXXXXX") {
        std::vector<char> pattern(name_.begin(), name_.end());
        pattern.push_back('\0');
        fd_ = mkstemp(pattern.data());
        if (fd_ >= 0)
            name_.assign(pattern.data());
        else
            name_.clear();  // nothing was created, so nothing may be removed
    }
    ~TemporaryFile() {
        if (fd_ >= 0)
            close(fd_);
        if (!name_.empty() && !renamed_)
            unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    bool Write(std::string_view data) {
        while (!data.empty()) {
            const ssize_t n = write(fd_, data.data(), data.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            data.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }

    // Makes the data durable and closes the file; the rename must not publish a file that a
    // crash could leave empty.
    bool Finish() {
        const bool ok = fchmod(fd_, 0644) == 0 && fsync(fd_) == 0;
        const bool closed = close(fd_) == 0;
        fd_ = -1;
        return ok && closed;
    }

    bool RenameTo(const std::string& target) {
        renamed_ = rename(name_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

  private:
    std::string name_;
    int fd_ = -1;
    bool renamed_ = false;
};

std::string Describe(const std::string& what, const std::string& path) {
    return what + " '" + path + "': " + std::strerror(errno);
}

}  // namespace

bool ReplaceFileContents(const std::string& hostPath, std::string_view data, std::string& error) {
    const std::filesystem::path parent = std::filesystem::path(hostPath).parent_path();
    if (!parent.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(parent, ec);
        if (ec) {
            error = "cannot create the folder '" + parent.string() + "': " + ec.message();
            return false;
        }
    }
    TemporaryFile file(hostPath);
    if (!file.IsOpen()) {
        error = Describe("cannot create a temporary file beside", hostPath);
        return false;
    }
    if (!file.Write(data) || !file.Finish()) {
        error = Describe("cannot write", hostPath);
        return false;
    }
    if (!file.RenameTo(hostPath)) {
        error = Describe("cannot replace", hostPath);
        return false;
    }
    return true;
}

}  // namespace platform
