// The dialog-item helpers: text and numbers of a control found by id, and messages to it.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/controls/dialog/dialog.h"
#include "platform/core/wstring.h"

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    const HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int maxCount) {
    const HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (buffer && maxCount > 0)
            buffer[0] = u'\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(item, buffer, maxCount));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    const std::string digits =
        isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    const std::u16string text(digits.begin(), digits.end());
    return SetDlgItemTextW(dialog, id, text.c_str());
}

// Leading and trailing blanks are allowed; anything else that is not a digit (or the sign of a
// signed number) fails, as does a value out of range.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated)
        *translated = FALSE;
    WCHAR buffer[64] = {};
    GetDlgItemTextW(dialog, id, buffer, 64);
    std::string text = platform::ToUtf8(buffer);
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos)
        return 0;
    text = text.substr(first, last - first + 1);
    const bool negative = !text.empty() && text[0] == '-';
    if ((negative || text[0] == '+') && !isSigned)
        return 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (!end || *end != '\0' || text.empty() ||
        !(std::isdigit(static_cast<unsigned char>(text.back()))))
        return 0;
    const bool fits = isSigned ? value >= INT32_MIN && value <= INT32_MAX
                               : value >= 0 && value <= static_cast<long long>(UINT32_MAX);
    if (!fits)
        return 0;
    if (translated)
        *translated = TRUE;
    return static_cast<UINT>(value);
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND item = GetDlgItem(dialog, id);
    return item ? SendMessageW(item, message, wParam, lParam) : 0;
}
