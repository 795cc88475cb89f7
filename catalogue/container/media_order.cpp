#include "catalogue/container/media_order.h"

#include <cstdint>

#include "catalogue/container/media_container.h"
#include "platform/core/wstring.h"

namespace catalogue {

namespace {

// lstrcmpiW's order (code units compared after upper-casing), with the ASCII case inline: it is
// the inner loop of sorting a large folder by name.
int CompareNamesNoCase(const WCHAR* a, const WCHAR* b) {
    for (;; ++a, ++b) {
        char16_t x = *a;
        char16_t y = *b;
        if (x != y) {
            x = x < 0x80 ? (x >= u'a' && x <= u'z' ? x - 0x20 : x) : platform::ToUpperChar(x);
            y = y < 0x80 ? (y >= u'a' && y <= u'z' ? y - 0x20 : y) : platform::ToUpperChar(y);
            if (x != y)
                return x < y ? -1 : 1;
        }
        if (x == 0)
            return 0;
    }
}

bool NameGoesFirst(const CMediaItem& a, const CMediaItem& b, bool ascending) {
    const int order = CompareNamesNoCase(a.m_szName, b.m_szName);
    return ascending ? order <= 0 : order > 0;
}

// The time's fields packed most significant first: comparing two keys compares the times.
std::uint64_t TimeKey(const SYSTEMTIME& t) {
    std::uint64_t key = t.wYear;
    key = key << 4 | (t.wMonth & 0xF);
    key = key << 5 | (t.wDay & 0x1F);
    key = key << 5 | (t.wHour & 0x1F);
    key = key << 6 | (t.wMinute & 0x3F);
    key = key << 6 | (t.wSecond & 0x3F);
    return key << 10 | (t.wMilliseconds & 0x3FF);
}

}  // namespace

// Field by field instead of through FILETIME: the same order for every valid time, without two
// calendar conversions per comparison.
int CompareModified(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    const std::uint64_t left = TimeKey(a);
    const std::uint64_t right = TimeKey(b);
    return left == right ? 0 : (left < right ? -1 : 1);
}

bool GoesBefore(const CMediaItem& a, const CMediaItem& b, DWORD mode,
                const SortDirections& directions) {
    const bool aFolder = a.m_dwType == MEDIA_FOLDER;
    const bool bFolder = b.m_dwType == MEDIA_FOLDER;
    if (aFolder != bFolder)
        return aFolder;
    switch (mode) {
        case SORT_BY_DATE: {
            const int order = CompareModified(a.m_stModified, b.m_stModified);
            if (order == 0)
                return NameGoesFirst(a, b, true);
            return directions.dateNewestFirst ? order > 0 : order < 0;
        }
        case SORT_BY_SIZE:
            if (a.m_dSizeKB == b.m_dSizeKB)
                return NameGoesFirst(a, b, true);
            return directions.sizeSmallestFirst ? a.m_dSizeKB < b.m_dSizeKB
                                                : a.m_dSizeKB > b.m_dSizeKB;
        default:
            return NameGoesFirst(a, b, directions.nameAscending);
    }
}

}  // namespace catalogue
