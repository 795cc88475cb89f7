// Byte sources over a host file (positioned reads, the whole file read once on demand) and over
// memory, borrowed or owned.
#include "platform/imaging/codec/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "platform/core/debug.h"
#include "platform/imaging/imaging.h"

namespace platform::imaging {
namespace {

// An open descriptor, closed with its owner.
class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    ~UniqueFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd& operator=(UniqueFd&&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

// ENOENT means the folder is missing when the parent does not exist, as the handheld tells the two
// apart (ERROR_PATH_NOT_FOUND against ERROR_FILE_NOT_FOUND).
bool ParentFolderExists(const std::string& hostPath) {
    const auto slash = hostPath.find_last_of('/');
    if (slash == std::string::npos) {
        return true;
    }
    const std::string parent = slash == 0 ? std::string("/") : hostPath.substr(0, slash);
    struct stat st {};
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

HRESULT OpenErrorToHresult(int error, const std::string& hostPath) {
    switch (error) {
        case ENOENT:
            return HRESULT_FROM_WIN32(ParentFolderExists(hostPath) ? ERROR_FILE_NOT_FOUND
                                                                   : ERROR_PATH_NOT_FOUND);
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        case EACCES:
        case EPERM:
        case EISDIR:
            return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
        case EMFILE:
        case ENFILE:
            return HRESULT_FROM_WIN32(ERROR_TOO_MANY_OPEN_FILES);
        case ENOMEM:
            return E_OUTOFMEMORY;
        default:
            return E_FAIL;
    }
}

class FileSource final : public ByteSource {
  public:
    FileSource(UniqueFd fd, std::uint64_t size) : fd_(std::move(fd)), size_(size) {}

    std::uint64_t Size() const override { return size_; }

    std::size_t ReadAt(std::uint64_t offset, void* dest, std::size_t size) const override {
        if (offset >= size_ || size == 0) {
            return 0;
        }
        if (size > size_ - offset) {
            size = static_cast<std::size_t>(size_ - offset);
        }
        auto* out = static_cast<std::uint8_t*>(dest);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got =
                ::pread(fd_.Get(), out + done, size - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;  // a read error or a file that shrank: report what was read
            }
            done += static_cast<std::size_t>(got);
        }
        return done;
    }

    std::span<const std::uint8_t> Bytes() override {
        std::lock_guard lock(mutex_);
        if (!loaded_) {
            loaded_ = true;
            Load();
        }
        return whole_;
    }

  private:
    // Under mutex_. Leaves whole_ empty when the file is too big or cannot be read in full.
    void Load() {
        if (size_ == 0) {
            return;
        }
        if (size_ > ImagingMemoryBudget()) {
            NKDbgPrintfW(u"imaging: file of %I64u bytes is larger than the memory budget\r\n",
                         size_);
            return;
        }
        std::vector<std::uint8_t> bytes;
        try {
            bytes.resize(static_cast<std::size_t>(size_));
        } catch (const std::bad_alloc&) {
            return;
        }
        if (ReadAt(0, bytes.data(), bytes.size()) != bytes.size()) {
            NKDbgPrintfW(u"imaging: could not read the whole file\r\n");
            return;
        }
        whole_ = std::move(bytes);
    }

    UniqueFd fd_;
    std::uint64_t size_;
    std::mutex mutex_;
    bool loaded_ = false;
    std::vector<std::uint8_t> whole_;
};

// Reads over a span; the owned variant keeps its vector alive next to the span.
class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint64_t Size() const override { return bytes_.size(); }

    std::size_t ReadAt(std::uint64_t offset, void* dest, std::size_t size) const override {
        if (offset >= bytes_.size()) {
            return 0;
        }
        const std::size_t count =
            std::min<std::size_t>(size, bytes_.size() - static_cast<std::size_t>(offset));
        if (count > 0) {
            std::memcpy(dest, bytes_.data() + offset, count);
        }
        return count;
    }

    std::span<const std::uint8_t> Bytes() override { return bytes_; }

  protected:
    void Reset(std::span<const std::uint8_t> bytes) { bytes_ = bytes; }

  private:
    std::span<const std::uint8_t> bytes_;
};

class OwnedSource final : public MemorySource {
  public:
    explicit OwnedSource(std::vector<std::uint8_t> bytes)
        : MemorySource({}), owned_(std::move(bytes)) {
        Reset(owned_);
    }

  private:
    std::vector<std::uint8_t> owned_;
};

}  // namespace

HRESULT OpenFileSource(const std::string& hostPath, std::shared_ptr<ByteSource>* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    out->reset();
    if (hostPath.empty()) {
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    }
    int fd;
    do {
        // O_NONBLOCK so a FIFO given as a picture does not hang the open; it is refused below.
        fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return OpenErrorToHresult(errno, hostPath);
    }
    UniqueFd guard(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return E_FAIL;
    }
    if (S_ISDIR(st.st_mode)) {
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    }
    if (!S_ISREG(st.st_mode)) {
        return E_FAIL;  // a pipe or a device has no size to read pictures from
    }
    *out = std::make_shared<FileSource>(std::move(guard), static_cast<std::uint64_t>(st.st_size));
    return S_OK;
}

std::shared_ptr<ByteSource> BorrowedMemorySource(std::span<const std::uint8_t> bytes) {
    return std::make_shared<MemorySource>(bytes);
}

std::shared_ptr<ByteSource> OwnedMemorySource(std::vector<std::uint8_t> bytes) {
    return std::make_shared<OwnedSource>(std::move(bytes));
}

}  // namespace platform::imaging
