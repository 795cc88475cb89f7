#include "platform/core/wstring.h"

#include "platform/core/utf8.h"

namespace platform {

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    char bytes[4];
    for (std::size_t pos = 0; pos < text.size();) {
        const char16_t unit = text[pos];
        if (unit < 0x80) {  // the common case: plain ASCII names
            out.push_back(static_cast<char>(unit));
            ++pos;
            continue;
        }
        out.append(bytes, utf::EncodeUtf8(utf::DecodeUtf16(text, pos), bytes));
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    char16_t units[2];
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++pos;
            continue;
        }
        out.append(units, utf::EncodeUtf16(utf::DecodeUtf8(text, pos), units));
    }
    return out;
}

char16_t ToUpperChar(char16_t c) {
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? c - 0x20 : c;
    if (c < 0x100) {
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            return c - 0x20;
        return c == 0xFF ? char16_t{0x178} : c;  // ÿ's capital lives in Latin Extended-A
    }
    if (c < 0x180) {
        // Latin Extended-A pairs capital and small letters; the pairing flips parity in two runs.
        // ı, ĸ, ŉ and ſ have no capital of their own here and stay as they are.
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        const bool oddSmall = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool small = oddSmall ? (c % 2 == 0) : (c % 2 == 1);
        return small ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9)
        return c == 0x3C2 ? char16_t{0x3A3} : char16_t(c - 0x20);
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && ToUpperChar(a[i]) != ToUpperChar(b[i]))
            return false;
    }
    return true;
}

}  // namespace platform

namespace {

template <typename Fold>
int Compare(LPCWSTR a, LPCWSTR b, Fold fold) {
    if (!a || !b)
        return a == b ? 0 : (a ? 1 : -1);
    for (;; ++a, ++b) {
        const char16_t x = fold(*a), y = fold(*b);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

// Copies up to `limit` units of `source` (stopping at its terminator) into a destination of `cch`
// units, always terminating; the STRSAFE result says whether it was cut short.
HRESULT CopyBounded(LPWSTR dest, size_t cch, LPCWSTR source, size_t limit) {
    size_t n = 0;
    if (source) {
        while (n < limit && n + 1 < cch && source[n] != 0) {
            dest[n] = source[n];
            ++n;
        }
    }
    dest[n] = 0;
    const bool complete = !source || n == limit || source[n] == 0;
    return complete ? S_OK : STRSAFE_E_INSUFFICIENT_BUFFER;
}

bool ValidDest(LPWSTR dest, size_t cch) {
    return dest && cch != 0 && cch <= STRSAFE_MAX_CCH;
}

HRESULT InvalidDest(LPWSTR dest, size_t cch) {
    if (dest && cch != 0)
        *dest = 0;
    return STRSAFE_E_INVALID_PARAMETER;
}

const WCHAR* FindNoCaseOrNot(const WCHAR* haystack, const WCHAR* needle, bool noCase) {
    if (!haystack || !needle || !*needle)
        return nullptr;
    const auto same = [noCase](WCHAR x, WCHAR y) {
        return x == y || (noCase && platform::ToUpperChar(x) == platform::ToUpperChar(y));
    };
    for (; *haystack; ++haystack) {
        size_t i = 0;
        while (needle[i] && haystack[i] && same(haystack[i], needle[i]))
            ++i;
        if (!needle[i])
            return haystack;
        if (!haystack[i])
            return nullptr;  // the rest is shorter than the needle
    }
    return nullptr;
}

}  // namespace

int lstrlenW(LPCWSTR text) {
    if (!text)
        return 0;
    int n = 0;
    while (text[n])
        ++n;
    return n;
}

int lstrcmpW(LPCWSTR a, LPCWSTR b) {
    return Compare(a, b, [](char16_t c) { return c; });
}

int lstrcmpiW(LPCWSTR a, LPCWSTR b) {
    return Compare(a, b, platform::ToUpperChar);
}

LPWSTR lstrcpynW(LPWSTR dest, LPCWSTR source, int maxLength) {
    if (!dest || maxLength <= 0)
        return dest;
    CopyBounded(dest, static_cast<size_t>(maxLength), source, static_cast<size_t>(maxLength));
    return dest;
}

HRESULT StringCchCopyW(LPWSTR dest, size_t cchDest, LPCWSTR source) {
    if (!ValidDest(dest, cchDest))
        return InvalidDest(dest, cchDest);
    return CopyBounded(dest, cchDest, source, STRSAFE_MAX_CCH);
}

HRESULT StringCchCopyNW(LPWSTR dest, size_t cchDest, LPCWSTR source, size_t cchToCopy) {
    if (!ValidDest(dest, cchDest) || cchToCopy > STRSAFE_MAX_CCH) {
        return InvalidDest(dest, cchDest);
    }
    return CopyBounded(dest, cchDest, source, cchToCopy);
}

HRESULT StringCchCatW(LPWSTR dest, size_t cchDest, LPCWSTR source) {
    if (!ValidDest(dest, cchDest))
        return STRSAFE_E_INVALID_PARAMETER;
    size_t used = 0;
    while (used < cchDest && dest[used])
        ++used;
    // An unterminated destination is left alone: there is no safe place to append.
    if (used == cchDest)
        return STRSAFE_E_INVALID_PARAMETER;
    return CopyBounded(dest + used, cchDest - used, source, STRSAFE_MAX_CCH);
}

HRESULT StringCchLengthW(LPCWSTR text, size_t cchMax, size_t* length) {
    size_t n = 0;
    if (text && cchMax != 0 && cchMax <= STRSAFE_MAX_CCH) {
        while (n < cchMax && text[n])
            ++n;
    }
    const bool ok = text && n < cchMax && cchMax <= STRSAFE_MAX_CCH;
    if (length)
        *length = ok ? n : 0;
    return ok ? S_OK : STRSAFE_E_INVALID_PARAMETER;
}

const WCHAR* StrStrW(const WCHAR* haystack, const WCHAR* needle) {
    return FindNoCaseOrNot(haystack, needle, false);
}
WCHAR* StrStrW(WCHAR* haystack, const WCHAR* needle) {
    return const_cast<WCHAR*>(FindNoCaseOrNot(haystack, needle, false));
}
const WCHAR* StrStrIW(const WCHAR* haystack, const WCHAR* needle) {
    return FindNoCaseOrNot(haystack, needle, true);
}
WCHAR* StrStrIW(WCHAR* haystack, const WCHAR* needle) {
    return const_cast<WCHAR*>(FindNoCaseOrNot(haystack, needle, true));
}

const WCHAR* StrChrW(const WCHAR* text, WCHAR c) {
    if (!text)
        return nullptr;
    for (; *text; ++text) {
        if (*text == c)
            return text;
    }
    return nullptr;
}
WCHAR* StrChrW(WCHAR* text, WCHAR c) {
    return const_cast<WCHAR*>(StrChrW(static_cast<const WCHAR*>(text), c));
}

const WCHAR* StrRChrW(const WCHAR* start, const WCHAR* end, WCHAR c) {
    if (!start)
        return nullptr;
    const WCHAR* found = nullptr;
    for (const WCHAR* p = start; (end ? p < end : true) && *p; ++p) {
        if (*p == c)
            found = p;
    }
    return found;
}
WCHAR* StrRChrW(WCHAR* start, const WCHAR* end, WCHAR c) {
    return const_cast<WCHAR*>(StrRChrW(static_cast<const WCHAR*>(start), end, c));
}
