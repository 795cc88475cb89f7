#include "demo/demo_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace demo {

namespace fs = std::filesystem;

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The existing entry of `parent` named `name` in any case, else `name` itself.
fs::path Child(const fs::path& parent, std::string_view name) {
    std::error_code ec;
    if (fs::exists(parent / name, ec))
        return parent / name;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        if (SameIgnoringCase(it->path().filename().string(), name))
            return it->path();
    }
    return parent / name;
}

std::string ErrnoText(const std::string& what, const fs::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

// Writes all of `bytes` to a new file and flushes it to disk.
bool WriteNew(const fs::path& path, std::span<const std::uint8_t> bytes, std::time_t mtime,
              std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = ErrnoText("cannot create", path);
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    const timespec times[2] = {{mtime, 0}, {mtime, 0}};
    bool ok = done == bytes.size() && ::fsync(fd) == 0 && ::futimens(fd, times) == 0;
    if (!ok)
        error = ErrnoText("cannot write", path);
    if (::close(fd) != 0 && ok) {
        error = ErrnoText("cannot close", path);
        ok = false;
    }
    return ok;
}

}  // namespace

fs::path DemoFiles::Resolve(std::string_view relative) const {
    fs::path path = root_;
    while (!relative.empty()) {
        const std::size_t slash = relative.find('/');
        path = Child(path, relative.substr(0, slash));
        relative =
            slash == std::string_view::npos ? std::string_view{} : relative.substr(slash + 1);
    }
    return path;
}

bool DemoFiles::Exists(std::string_view relative) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(Resolve(relative), ec));
}

bool DemoFiles::LeavesRoot(std::string_view relative) const {
    fs::path path = root_;
    while (!relative.empty()) {
        const std::size_t slash = relative.find('/');
        path = Child(path, relative.substr(0, slash));
        std::error_code ec;
        if (fs::is_symlink(path, ec))
            return true;
        relative =
            slash == std::string_view::npos ? std::string_view{} : relative.substr(slash + 1);
    }
    return false;
}

bool DemoFiles::MakeFolder(std::string_view relative) {
    std::error_code ec;
    const fs::path folder = Resolve(relative);
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) {
        Fail("cannot create the folder " + folder.string());
        return false;
    }
    return true;
}

bool DemoFiles::Write(std::string_view relative, std::span<const std::uint8_t> bytes,
                      std::time_t mtime) {
    if (Exists(relative))
        return true;
    const std::size_t slash = relative.rfind('/');
    if (slash != std::string_view::npos && !MakeFolder(relative.substr(0, slash)))
        return false;
    const fs::path target = Resolve(relative);
    const fs::path temporary = target.parent_path() / ("." + target.filename().string() + ".demo-" +
                                                       std::to_string(::getpid()) + ".tmp");
    std::error_code ec;
    fs::remove(temporary, ec);  // a leftover of an interrupted run of this process id
    std::string error;
    if (!WriteNew(temporary, bytes, mtime, error)) {
        fs::remove(temporary, ec);
        Fail(error);
        return false;
    }
    // link() refuses to replace, so a file that appeared meanwhile is kept too.
    if (::link(temporary.c_str(), target.c_str()) != 0 && errno != EEXIST) {
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            Fail(ErrnoText("cannot rename into", target));
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::remove(temporary, ec);
    ++written_;
    return true;
}

void DemoFiles::Fail(const std::string& message) {
    if (error_.empty())
        error_ = message;
}

}  // namespace demo
