#include "platform/imaging/factory/encode_destination.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

#include "platform/core/debug.h"
#include "platform/fs/copy_engine.h"
#include "platform/fs/errors.h"

namespace platform::imaging {

namespace {

HRESULT FromErrno(int error) {
    return HRESULT_FROM_WIN32(Win32ErrorFromErrno(error));
}

// Collects bytes in memory; false once memory runs out.
class MemorySink final : public ByteSink {
  public:
    bool Write(const void* bytes, std::size_t size) override {
        try {
            const auto* begin = static_cast<const std::uint8_t*>(bytes);
            data_.insert(data_.end(), begin, begin + size);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
    const std::vector<std::uint8_t>& Data() const { return data_; }

  private:
    std::vector<std::uint8_t> data_;
};

// Writes through a buffer, since encoders hand over many small pieces.
class FileSink final : public ByteSink {
  public:
    explicit FileSink(int fd) : fd_(fd) { buffer_.reserve(kBufferSize); }
    bool Write(const void* bytes, std::size_t size) override {
        if (error_ != 0)
            return false;
        const auto* at = static_cast<const char*>(bytes);
        if (buffer_.size() + size > kBufferSize && !Flush())
            return false;
        if (size >= kBufferSize)
            return WriteAll(at, size);
        buffer_.insert(buffer_.end(), at, at + size);
        return true;
    }
    bool Flush() {
        const bool done = WriteAll(buffer_.data(), buffer_.size());
        buffer_.clear();
        return done;
    }
    int Error() const { return error_; }

  private:
    static constexpr std::size_t kBufferSize = 256 * 1024;

    bool WriteAll(const char* at, std::size_t size) {
        while (size > 0 && error_ == 0) {
            const ssize_t written = ::write(fd_, at, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                error_ = written < 0 ? errno : ENOSPC;
                break;
            }
            at += written;
            size -= static_cast<std::size_t>(written);
        }
        return error_ == 0;
    }

    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};

class FileDestination final : public EncodeDestination {
  public:
    explicit FileDestination(std::string target) : target_(std::move(target)) {}

    int Open() { return temp_.CreateFile(target_, fd_); }

    HRESULT Write(const Encode& encode) override {
        if (!fd_)
            return E_FAIL;  // written once already, or never opened
        FileSink sink(fd_.Get());
        if (const HRESULT hr = encode(sink); FAILED(hr)) {
            Abandon();
            return hr;
        }
        if (const int error = Finish(sink)) {
            NKDbgPrintfW(u"imaging: cannot write the encoded file (%hs)\r\n", std::strerror(error));
            Abandon();
            return FromErrno(error);
        }
        return S_OK;
    }

  private:
    // The new file gets the old one's permissions, else the usual ones for a new file.
    mode_t TargetMode() const {
        struct stat st {};
        return ::stat(target_.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0644;
    }

    int Finish(FileSink& sink) {
        if (!sink.Flush())
            return sink.Error();
        if (::fchmod(fd_.Get(), TargetMode()) != 0 || ::fdatasync(fd_.Get()) != 0)
            return errno;
        if (const int error = fd_.Close())
            return error;
        return temp_.Commit(target_, true);
    }

    void Abandon() { fd_.Reset(); }  // the temporary entry removes its file

    std::string target_;
    fs::TempEntry temp_;
    fs::UniqueFd fd_;
};

class StreamDestination final : public EncodeDestination {
  public:
    explicit StreamDestination(IStream* stream) : stream_(stream) {}

    HRESULT Write(const Encode& encode) override {
        MemorySink sink;
        if (const HRESULT hr = encode(sink); FAILED(hr))
            return hr;
        const std::vector<std::uint8_t>& data = sink.Data();
        std::size_t done = 0;
        while (done < data.size()) {
            const ULONG piece =
                static_cast<ULONG>(std::min<std::size_t>(data.size() - done, 0x40000000));
            ULONG written = 0;
            const HRESULT hr = stream_->Write(data.data() + done, piece, &written);
            if (FAILED(hr))
                return hr;
            if (written == 0)
                return STG_E_MEDIUMFULL;
            done += written;
        }
        return S_OK;
    }

  private:
    ComPtr<IStream> stream_;
};

}  // namespace

HRESULT OpenFileDestination(const std::string& hostPath, std::shared_ptr<EncodeDestination>* out) {
    std::shared_ptr<FileDestination> destination;
    try {
        destination = std::make_shared<FileDestination>(hostPath);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (const int error = destination->Open()) {
        NKDbgPrintfW(u"imaging: cannot create a file next to %hs (%hs)\r\n", hostPath.c_str(),
                     std::strerror(error));
        // The temporary file goes in the target's folder, so a missing entry is the folder.
        return error == ENOENT ? HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) : FromErrno(error);
    }
    *out = std::move(destination);
    return S_OK;
}

HRESULT OpenStreamDestination(IStream* stream, std::shared_ptr<EncodeDestination>* out) {
    if (!stream)
        return E_INVALIDARG;
    try {
        *out = std::make_shared<StreamDestination>(stream);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

}  // namespace platform::imaging
