// A protected file as the rights service reads it: which delivery method it uses, the content it
// carries and how to reach the clear bytes. Recognised by its bytes, never by its name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/types.h"
#include "platform/rights/dcf/dcf_crypto.h"
#include "platform/rights/rel/rights_object.h"

namespace platform::rights {

enum class DeliveryMethod {
    ForwardLock,       // a .dm with the media alone: every use unlimited, never forwardable
    CombinedDelivery,  // a .dm with its rights object: never forwardable
    SeparateDelivery,  // a .dcf, rights installed apart: forwardable
};

// Protected files are held in memory while used; anything larger is refused as damaged.
inline constexpr std::uint64_t kMaxProtectedFileSize = 256ull << 20;

struct ProtectedFile {
    DeliveryMethod method = DeliveryMethod::ForwardLock;
    // Joins the content to its rights as the store keys them: the .dcf content URI, or the
    // combined-delivery rights object's uid (which matches the media part's Content-ID with or
    // without a "cid:" prefix), both as written. Empty for forward lock.
    std::string uid;
    std::string contentType;  // the clear content's type
    // The .dcf textual headers, or the media part's headers, in file order.
    std::vector<std::pair<std::string, std::string>> headers;
    // Combined delivery: the rights object part, parsed, and its bytes as delivered.
    std::optional<RightsObject> embeddedRights;
    std::vector<std::uint8_t> embeddedRightsBytes;

    // The first header of that name, compared without case ("Rights-Issuer", "Content-Name").
    std::optional<std::string> Header(std::string_view name) const;
};

enum class FileCheck {
    NotProtected,  // readable, and not a protected file
    Protected,     // a protected file whose container reads correctly
    Damaged,       // starts like a protected file but its container cannot be read
    Unreadable,    // the file cannot be opened or read (see the Win32 error)
};

// Cheap: looks only at the first bytes (at most 512), which is all FileDrmIsDRM needs for the
// plain files that fill a folder. Protected here means "starts like one".
FileCheck SniffFile(const std::string& hostPath, DWORD& win32Error);

struct ReadResult {
    FileCheck check = FileCheck::Unreadable;
    DWORD win32Error = 0;  // for Unreadable
    std::optional<ProtectedFile> file;
};

// Reads and checks the container. A .dcf is read only as far as its headers (the data's length
// is checked against the file's size); a .dm is read whole.
ReadResult ReadProtectedFile(const std::string& hostPath);
// The same over bytes already in memory (tests, fuzzing, the tool).
ReadResult ParseProtectedBytes(const std::uint8_t* data, std::size_t size);

// The clear content. Forward lock and combined delivery unwrap the media part; separate delivery
// decrypts the .dcf data with `key`. Nullopt when the file changed into something unreadable
// since it was checked, or the key does not fit (wrong padding).
std::optional<std::vector<std::uint8_t>> ReadClearContent(const std::string& hostPath,
                                                          const std::optional<ContentKey>& key);

}  // namespace platform::rights
