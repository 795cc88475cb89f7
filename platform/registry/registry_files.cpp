#include "platform/registry/registry_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <thread>

namespace platform::registry {
namespace {

constexpr auto kLockPollInterval = std::chrono::milliseconds(20);
constexpr int kLockPolls = 500;  // ten seconds

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
        found->pw_dir && *found->pw_dir) {
        return found->pw_dir;
    }
    return {};
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// The first of name, name-2, name-3, ... that is not taken, so that an earlier bad file moved
// aside in the same second is never overwritten.
std::string FreeAsideName(const std::string& path) {
    const std::string base = path + ".corrupt-" + TimeStamp();
    std::string candidate = base;
    for (int n = 2; Exists(candidate) || Exists(candidate + "-wal"); ++n) {
        candidate = base + "-" + std::to_string(n);
    }
    return candidate;
}

}  // namespace

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string DefaultRegistryPath() {
    std::string config;
    // The XDG rules ignore a relative XDG_CONFIG_HOME.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        config = xdg;
    } else if (const std::string home = HomeFolder(); !home.empty()) {
        config = home + "/.config";
    } else {
        return {};
    }
    return config + "/pictarium/registry.db";
}

bool CreateRegistryFolder(const std::string& path) {
    std::error_code error;
    const std::filesystem::path folder = FolderOf(path);
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

FolderLock::FolderLock(const std::string& path) {
    fd_ = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    for (int poll = 0; poll < kLockPolls; ++poll) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        std::this_thread::sleep_for(kLockPollInterval);
    }
    close(fd_);
    fd_ = -1;
}

FolderLock::~FolderLock() {
    // Closing the descriptor releases the lock.
    if (fd_ >= 0)
        close(fd_);
}

bool IsForeignFile(const std::string& path, std::string& reason) {
    static constexpr char kHeader[16] = "SQLite format 3";  // with its terminating NUL
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // Only a lasting refusal counts; running out of descriptors or memory passes.
        if (errno != EACCES && errno != EPERM && errno != ELOOP)
            return false;
        reason = std::string("cannot be read: ") + std::strerror(errno);
        return true;
    }
    char header[sizeof kHeader];
    const ssize_t got = read(fd, header, sizeof header);
    const int readError = errno;
    close(fd);
    // An empty file is a database not written yet.
    if (got == 0)
        return false;
    if (got < 0) {
        reason = std::string("cannot be read: ") + std::strerror(readError);
    } else if (got < static_cast<ssize_t>(sizeof header) ||
               std::memcmp(header, kHeader, sizeof header) != 0) {
        reason = "not a database";
    } else {
        return false;
    }
    return true;
}

bool MoveAside(const std::string& path, std::string& aside, std::string& error) {
    if (!Exists(path)) {
        error = "there is no file to move";
        return false;
    }
    aside = FreeAsideName(path);
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    for (const char* companion : {"-wal", "-shm"}) {
        const std::string from = path + companion;
        // A log left behind would be replayed into the fresh file.
        if (Exists(from) && std::rename(from.c_str(), (aside + companion).c_str()) != 0) {
            error = std::string("could not move ") + from + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

}  // namespace platform::registry
