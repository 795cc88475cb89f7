#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/display/debug_line.h"
#include "platform/display/display.h"

namespace platform {
namespace {

struct PngFailure {
    char message[200] = "unknown libpng error";
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ExpandRow(const std::uint16_t* source, png_bytep out, int width) {
    for (int x = 0; x < width; ++x) {
        const unsigned v = source[x];
        const unsigned r5 = v >> 11, g6 = (v >> 5) & 0x3F, b5 = v & 0x1F;
        out[3 * x] = static_cast<png_byte>((r5 << 3) | (r5 >> 2));
        out[3 * x + 1] = static_cast<png_byte>((g6 << 2) | (g6 >> 4));
        out[3 * x + 2] = static_cast<png_byte>((b5 << 3) | (b5 >> 2));
    }
}

// The one function that uses setjmp. It owns nothing with a destructor, so libpng's error jump
// skips nothing that must run; the row buffer belongs to the caller.
bool EncodePng(FILE* file, const Surface& screen, png_bytep row, PngFailure& failure) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(screen.width),
                 static_cast<png_uint_32>(screen.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < screen.height; ++y) {
        ExpandRow(screen.Row(y), row, screen.width);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// A new file beside the target that becomes the target only when complete; removed otherwise.
class PendingFile {
  public:
    explicit PendingFile(const std::filesystem::path& target) : target_(target) {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
            // Not "." + filename: GCC 12 misreports that form under -O3 (-Wrestrict).
            std::string name = ".";
            name += target.filename().string();
            name += ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
            path_ = target.parent_path() / name;
            const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno == EEXIST)
                continue;
            if (fd < 0)
                break;
            file_ = fdopen(fd, "wb");
            if (!file_) {
                close(fd);
                unlink(path_.c_str());
                break;
            }
        }
    }
    ~PendingFile() {
        if (file_)
            std::fclose(file_);
        if (!committed_ && !path_.empty())
            unlink(path_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    FILE* Get() const { return file_; }

    // Flushes to disk, closes, and renames over the target; errno tells why when false.
    bool Commit() {
        const bool written = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!written || !closed)
            return false;
        committed_ = std::rename(path_.c_str(), target_.c_str()) == 0;
        return committed_;
    }

  private:
    std::filesystem::path target_;
    std::filesystem::path path_;
    FILE* file_ = nullptr;
    bool committed_ = false;
};

bool Fail(const std::string& hostPath, const std::string& why) {
    DisplayDebugLine("WriteScreenshotPng " + hostPath + ": " + why);
    return false;
}

}  // namespace

bool WriteScreenshotPng(const Surface& screen, const std::string& hostPath) {
    if (screen.width <= 0 || screen.height <= 0 || screen.stride < screen.width ||
        screen.pixels.size() < static_cast<std::size_t>(screen.stride) * screen.height) {
        return Fail(hostPath, "the screen holds no complete picture");
    }
    const std::filesystem::path target(hostPath);
    if (target.empty() || !target.has_filename())
        return Fail(hostPath, "not a file path");
    if (target.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        if (error)
            return Fail(hostPath, "cannot create its folder: " + error.message());
    }
    PendingFile pending(target);
    if (!pending.Get())
        return Fail(hostPath, std::string("cannot create a file: ") + strerror(errno));
    std::vector<png_byte> row(static_cast<std::size_t>(screen.width) * 3);
    PngFailure failure;
    if (!EncodePng(pending.Get(), screen, row.data(), failure))
        return Fail(hostPath, failure.message);
    if (!pending.Commit())
        return Fail(hostPath, std::string("cannot write: ") + strerror(errno));
    return true;
}

}  // namespace platform
