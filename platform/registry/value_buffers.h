// Handing names and value data to callers' buffers by the Win32 rules: sizes on the way in and
// out, ERROR_MORE_DATA when a buffer is short, never a byte written past the size given.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/core/types.h"

namespace platform::registry {

// RegQueryValueExW's rules for data and *cbData. Strings that arrive without their terminator
// get one when the buffer has room for it, and a short buffer receives as much of a string as
// fits, terminated: registry values are untrusted and callers copy them as C strings.
LONG CopyValueData(DWORD type, std::span<const std::uint8_t> data, LPBYTE buffer, LPDWORD cbData);

// The enumeration rules for a name: *cchName is the buffer's size in characters on the way in
// and the name's length without terminator on the way out; a name that does not fit is
// ERROR_MORE_DATA with nothing written.
LONG CopyName(std::u16string_view name, LPWSTR buffer, LPDWORD cchName);

}  // namespace platform::registry
