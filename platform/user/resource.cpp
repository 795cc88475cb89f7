#include "platform/user/resource.h"

#include <cstring>
#include <mutex>

#include "platform/core/error.h"
#include "platform/core/wstring.h"

namespace platform {
namespace {

std::mutex& LookupMutex() {
    static std::mutex mutex;
    return mutex;
}

StringLookup& Lookup() {
    static StringLookup lookup;
    return lookup;
}

LPCWSTR FindString(UINT id) {
    std::lock_guard lock(LookupMutex());
    return Lookup() ? Lookup()(id) : nullptr;
}

}  // namespace

void SetStringTable(StringLookup lookup) {
    std::lock_guard lock(LookupMutex());
    Lookup() = std::move(lookup);
}

}  // namespace platform

int LoadStringW(HINSTANCE /*instance*/, UINT id, LPWSTR buffer, int cchBufferMax) {
    const LPCWSTR text = platform::FindString(id);
    if (text == nullptr || buffer == nullptr || cchBufferMax < 0) {
        SetLastError(text == nullptr ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_INVALID_PARAMETER);
        if (buffer != nullptr && cchBufferMax > 0)
            buffer[0] = u'\0';
        return 0;
    }
    const int length = lstrlenW(text);
    if (cchBufferMax == 0) {
        const LPCWSTR pointer = text;
        std::memcpy(buffer, &pointer, sizeof(pointer));
        return length;
    }
    const int copied = length < cchBufferMax - 1 ? length : cchBufferMax - 1;
    std::memcpy(buffer, text, static_cast<std::size_t>(copied) * sizeof(WCHAR));
    buffer[copied] = u'\0';
    return copied;
}
