#include "platform/core/code_page.h"

#include <cstring>
#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/wstring.h"

namespace {

template <typename Char>
std::basic_string_view<Char> SourceView(const Char* source, int length) {
    if (length < 0)
        return {source, std::char_traits<Char>::length(source) + 1};
    return {source, static_cast<std::size_t>(length)};
}

// Copies the converted text out under the handheld's size rules.
template <typename Char>
int Deliver(const std::basic_string<Char>& converted, Char* destination, int destinationSize) {
    const int needed = static_cast<int>(converted.size());
    if (destinationSize == 0)
        return needed;
    if (needed > destinationSize) {
        if (destination && destinationSize > 0)
            destination[0] = Char{};
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(destination, converted.data(), converted.size() * sizeof(Char));
    return needed;
}

bool ValidArguments(UINT codePage, const void* source, int sourceLength, const void* destination,
                    int destinationSize) {
    if ((codePage != CP_UTF8 && codePage != CP_ACP) || !source || sourceLength < -1 ||
        sourceLength == 0 || destinationSize < 0 || (destinationSize > 0 && !destination)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

}  // namespace

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR source, int sourceLength, char* destination,
                        int destinationSize, const char*, BOOL* usedDefaultChar) {
    if (usedDefaultChar)
        *usedDefaultChar = FALSE;
    if (!ValidArguments(codePage, source, sourceLength, destination, destinationSize))
        return 0;
    return Deliver(platform::ToUtf8(SourceView(source, sourceLength)), destination,
                   destinationSize);
}

int MultiByteToWideChar(UINT codePage, DWORD, const char* source, int sourceLength,
                        LPWSTR destination, int destinationSize) {
    if (!ValidArguments(codePage, source, sourceLength, destination, destinationSize))
        return 0;
    return Deliver(platform::FromUtf8(SourceView(source, sourceLength)), destination,
                   destinationSize);
}
