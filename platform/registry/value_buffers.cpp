#include "platform/registry/value_buffers.h"

#include <algorithm>
#include <cstring>

#include "platform/core/error.h"
#include "platform/registry/registry.h"

namespace platform::registry {
namespace {

// How many terminating NUL characters a value of `type` ends with when read as text.
std::size_t TerminatorsFor(DWORD type) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return 1;
        case REG_MULTI_SZ:
            return 2;
        default:
            return 0;
    }
}

// NUL characters already at the end of `data` (an odd trailing byte is not one).
std::size_t TrailingNuls(std::span<const std::uint8_t> data) {
    std::size_t count = 0;
    for (std::size_t end = data.size() & ~std::size_t{1}; end >= 2; end -= 2) {
        if (data[end - 1] != 0 || data[end - 2] != 0)
            break;
        ++count;
    }
    return count;
}

// Completes the terminators of a string copied in full, if the buffer has room for them.
void TerminateIfRoom(DWORD type, std::span<const std::uint8_t> data, LPBYTE buffer,
                     std::size_t capacity) {
    const std::size_t missing =
        TerminatorsFor(type) - std::min(TerminatorsFor(type), TrailingNuls(data));
    if (missing == 0 || data.size() % 2 != 0)
        return;
    if (data.size() + 2 * missing <= capacity)
        std::memset(buffer + data.size(), 0, 2 * missing);
}

// Fills a short buffer with the start of a string, terminated within the buffer.
void WriteTruncated(DWORD type, std::span<const std::uint8_t> data, LPBYTE buffer,
                    std::size_t capacity) {
    const std::size_t units = capacity / 2;
    const std::size_t terminators = std::min(units, TerminatorsFor(type));
    if (terminators == 0)
        return;
    const std::size_t textBytes = (units - terminators) * 2;
    std::memcpy(buffer, data.data(), textBytes);
    std::memset(buffer + textBytes, 0, terminators * 2);
}

}  // namespace

LONG CopyValueData(DWORD type, std::span<const std::uint8_t> data, LPBYTE buffer, LPDWORD cbData) {
    const auto size = static_cast<DWORD>(data.size());
    if (!buffer) {
        if (cbData)
            *cbData = size;
        return ERROR_SUCCESS;
    }
    const DWORD capacity = *cbData;
    *cbData = size;
    if (capacity < size) {
        WriteTruncated(type, data, buffer, capacity);
        return ERROR_MORE_DATA;
    }
    if (!data.empty())
        std::memcpy(buffer, data.data(), data.size());
    TerminateIfRoom(type, data, buffer, capacity);
    return ERROR_SUCCESS;
}

LONG CopyName(std::u16string_view name, LPWSTR buffer, LPDWORD cchName) {
    if (!buffer || !cchName)
        return ERROR_INVALID_PARAMETER;
    if (name.size() >= *cchName)
        return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = u'\0';
    *cchName = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

}  // namespace platform::registry
