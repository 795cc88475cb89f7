#include "dcf_test_util.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/rights/dcf/uintvar.h"

namespace dcf_test {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const std::uint8_t b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 15]);
    }
    return out;
}

// A temporary file removed when the test is done with it.
class TempFile {
  public:
    explicit TempFile(std::span<const std::uint8_t> contents) {
        std::string pattern = "/tmp/dcf_test_XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0)
            return;
        path_ = pattern;
        const ssize_t written = write(fd, contents.data(), contents.size());
        ok_ = written == static_cast<ssize_t>(contents.size());
        close(fd);
    }
    ~TempFile() {
        if (!path_.empty())
            unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool ok() const { return ok_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool ok_ = false;
};

}  // namespace

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> out(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return out;
}

std::vector<std::uint8_t> RawDcf::Build() const {
    std::vector<std::uint8_t> out = {version, static_cast<std::uint8_t>(type.size()),
                                     static_cast<std::uint8_t>(uri.size())};
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), uri.begin(), uri.end());
    platform::rights::AppendUintvar(
        out, headersLength.value_or(static_cast<std::uint32_t>(headerBlock.size())));
    platform::rights::AppendUintvar(out,
                                    dataLength.value_or(static_cast<std::uint32_t>(dataBytes)));
    out.insert(out.end(), headerBlock.begin(), headerBlock.end());
    const auto data = Pattern(dataBytes);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::optional<std::vector<std::uint8_t>> OpenSslDecrypt(const platform::rights::ContentKey& key,
                                                        const platform::rights::ContentIv& iv,
                                                        std::span<const std::uint8_t> ciphertext) {
    TempFile input(ciphertext);
    if (!input.ok())
        return std::nullopt;
    const std::string command = "openssl enc -d -aes-128-cbc -K " + Hex(key) + " -iv " + Hex(iv) +
                                " -in " + input.path() + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::vector<std::uint8_t> output;
    std::uint8_t buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.insert(output.end(), buffer, buffer + got);
    const int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}

}  // namespace dcf_test
