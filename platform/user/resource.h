// The program's resources as the platform loads them. The program keeps its string table as a
// C++ table and hands the platform a lookup; LoadStringW then behaves as on the handheld.
#pragma once

#include <functional>

#include "platform/core/types.h"

// An integer resource id passed where a name is expected (IS_INTRESOURCE tells them apart).
inline LPCWSTR MAKEINTRESOURCEW(UINT id) {
    return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(id)));
}

namespace platform {

// The text for a string id, or null when there is none. Set once at start-up.
using StringLookup = std::function<LPCWSTR(UINT id)>;
void SetStringTable(StringLookup lookup);

}  // namespace platform

// Copies string `id` into `buffer` (at most cchBufferMax - 1 units, terminated) and returns its
// length; 0 with ERROR_RESOURCE_NAME_NOT_FOUND when there is no such string. With cchBufferMax 0,
// `buffer` receives a pointer to the read-only text itself, as on the handheld.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int cchBufferMax);
