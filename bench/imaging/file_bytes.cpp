#include "bench/imaging/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace imaging_bench {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(const std::string& path) : fd_(open(path.c_str(), O_RDONLY)) {
        if (fd_ < 0)
            throw std::runtime_error(path + ": " + std::strerror(errno));
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { close(fd_); }
    int get() const { return fd_; }

  private:
    int fd_;
};

// Skips whitespace and '#' comments, then reads one decimal header field.
int ReadHeaderNumber(const std::vector<std::uint8_t>& bytes, std::size_t& at) {
    while (at < bytes.size() && (std::isspace(bytes[at]) || bytes[at] == '#')) {
        if (bytes[at] == '#') {
            while (at < bytes.size() && bytes[at] != '\n')
                ++at;
        } else {
            ++at;
        }
    }
    long value = 0;
    const std::size_t start = at;
    while (at < bytes.size() && std::isdigit(bytes[at]) && value < 1'000'000)
        value = value * 10 + (bytes[at++] - '0');
    if (at == start || value <= 0 || value >= 1'000'000)
        throw std::runtime_error("PPM: bad header field");
    return static_cast<int>(value);
}

}  // namespace

void ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    FileDescriptor file(path);
    struct stat info {};
    if (fstat(file.get(), &info) != 0)
        throw std::runtime_error(path + ": " + std::strerror(errno));
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw std::runtime_error(path + ": short read");
        done += static_cast<std::size_t>(got);
    }
}

BgrPicture ReadPpmAsBgr(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    ReadWholeFile(path, bytes);
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6')
        throw std::runtime_error(path + ": not a binary PPM");
    std::size_t at = 2;
    BgrPicture picture;
    picture.width = ReadHeaderNumber(bytes, at);
    picture.height = ReadHeaderNumber(bytes, at);
    if (ReadHeaderNumber(bytes, at) != 255)
        throw std::runtime_error(path + ": only 8-bit PPM is supported");
    ++at;  // the single whitespace byte before the samples
    const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height * 3;
    if (bytes.size() < at || bytes.size() - at < count)
        throw std::runtime_error(path + ": truncated PPM");
    picture.bgr.resize(count);
    const std::uint8_t* rgb = bytes.data() + at;
    std::uint8_t* bgr = picture.bgr.data();
    for (std::size_t i = 0; i < count; i += 3) {
        bgr[i] = rgb[i + 2];
        bgr[i + 1] = rgb[i + 1];
        bgr[i + 2] = rgb[i];
    }
    return picture;
}

}  // namespace imaging_bench
