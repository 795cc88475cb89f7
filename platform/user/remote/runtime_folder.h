// Where published windows live: one private folder per user, and the names of the files in it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// $XDG_RUNTIME_DIR/pictarium, or /tmp/pictarium-<uid> when that variable is unset or relative,
// created with mode 0700 when missing. Empty (with a debug-output line) when the folder cannot be
// created or is not a directory owned by us and closed to everyone else: a folder another user
// controls could hand our requests to their program.
std::optional<std::string> RuntimeFolder();

// A window's name in the folder. Class and title are hashed separately (case-insensitively, as
// FindWindow compares them) so that a search by class alone can still pick out the candidates.
struct EndpointKey {
    uint64_t classHash = 0;
    uint64_t titleHash = 0;

    static EndpointKey For(std::u16string_view className, std::u16string_view title);
    std::string SocketName() const;  // w-<16 hex>-<16 hex>.sock
    std::string LockName() const;    // start-<16 hex>-<16 hex>.lock
    bool operator==(const EndpointKey&) const = default;
};

uint64_t NameHash(std::u16string_view name);
// Reads a SocketName back; false for any other file name.
bool ParseSocketName(std::string_view fileName, EndpointKey& key);

}  // namespace platform
