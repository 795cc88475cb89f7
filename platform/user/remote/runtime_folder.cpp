#include "platform/user/remote/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/core/wstring.h"
#include "platform/user/remote/remote_log.h"

namespace platform {
namespace {

constexpr std::string_view kSocketPrefix = "w-";
constexpr std::string_view kSocketSuffix = ".sock";
constexpr size_t kHexDigits = 16;

std::string KeyText(const EndpointKey& key) {
    char text[2 * kHexDigits + 2];
    std::snprintf(text, sizeof text, "%016llx-%016llx",
                  static_cast<unsigned long long>(key.classHash),
                  static_cast<unsigned long long>(key.titleHash));
    return text;
}

bool ParseHex(std::string_view text, uint64_t& value) {
    if (text.size() != kHexDigits)
        return false;
    value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return false;
        }
        value = (value << 4) | static_cast<uint64_t>(digit);
    }
    return true;
}

std::string ChooseFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    // A relative XDG_RUNTIME_DIR is meaningless and must be ignored.
    if (runtime != nullptr && runtime[0] == '/')
        return std::string(runtime) + "/pictarium";
    return "/tmp/pictarium-" + std::to_string(::geteuid());
}

}  // namespace

std::optional<std::string> RuntimeFolder() {
    const std::string folder = ChooseFolder();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        RemoteLog("cannot create the window folder %s: %s", folder.c_str(), std::strerror(errno));
        return std::nullopt;
    }
    struct stat info {};
    // lstat: a symbolic link planted in /tmp must not redirect us.
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        RemoteLog("refusing the window folder %s: not a private folder of this user",
                  folder.c_str());
        return std::nullopt;
    }
    return folder;
}

uint64_t NameHash(std::u16string_view name) {
    // FNV-1a over the upper-cased UTF-16 code units.
    uint64_t hash = 0xcbf29ce484222325ull;
    for (char16_t unit : name) {
        const char16_t upper = ToUpperChar(unit);
        for (int shift : {0, 8}) {
            hash ^= static_cast<uint8_t>(upper >> shift);
            hash *= 0x100000001b3ull;
        }
    }
    return hash;
}

EndpointKey EndpointKey::For(std::u16string_view className, std::u16string_view title) {
    return EndpointKey{NameHash(className), NameHash(title)};
}

std::string EndpointKey::SocketName() const {
    return std::string(kSocketPrefix) + KeyText(*this) + std::string(kSocketSuffix);
}

std::string EndpointKey::LockName() const {
    return "start-" + KeyText(*this) + ".lock";
}

bool ParseSocketName(std::string_view fileName, EndpointKey& key) {
    const size_t expected = kSocketPrefix.size() + 2 * kHexDigits + 1 + kSocketSuffix.size();
    if (fileName.size() != expected || !fileName.starts_with(kSocketPrefix) ||
        !fileName.ends_with(kSocketSuffix))
        return false;
    const std::string_view hashes = fileName.substr(kSocketPrefix.size(), 2 * kHexDigits + 1);
    return hashes[kHexDigits] == '-' && ParseHex(hashes.substr(0, kHexDigits), key.classHash) &&
           ParseHex(hashes.substr(kHexDigits + 1), key.titleHash);
}

}  // namespace platform
