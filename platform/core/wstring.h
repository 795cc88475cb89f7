// UTF-16 strings: conversion to and from the host's UTF-8, case-insensitive comparison as the
// handheld's file system does it, and the Win32 string functions the program calls.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/types.h"

namespace platform {

// Lone surrogates become U+FFFD, so the result is always valid UTF-8.
std::string ToUtf8(std::u16string_view text);
// Ill-formed UTF-8 becomes U+FFFD, one per maximal ill-formed sequence.
std::u16string FromUtf8(std::string_view text);

// Simple upper-case mapping for ASCII, Latin-1, Latin Extended-A, basic Greek and Cyrillic;
// every other unit maps to itself.
char16_t ToUpperChar(char16_t c);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

}  // namespace platform

// Null pointers are treated as empty strings where Win32 would fault.
int lstrlenW(LPCWSTR text);
// Ordinal comparisons (by code unit, after upper-casing for lstrcmpiW): -1, 0 or 1; a null
// string sorts before any other.
int lstrcmpW(LPCWSTR a, LPCWSTR b);
int lstrcmpiW(LPCWSTR a, LPCWSTR b);
// Copies at most maxLength - 1 units and always terminates; returns `dest` (null when dest is).
LPWSTR lstrcpynW(LPWSTR dest, LPCWSTR source, int maxLength);

// STRSAFE: S_OK, STRSAFE_E_INSUFFICIENT_BUFFER (the text was truncated and terminated) or
// STRSAFE_E_INVALID_PARAMETER (a cch of 0 or above STRSAFE_MAX_CCH, a null destination).
HRESULT StringCchCopyW(LPWSTR dest, size_t cchDest, LPCWSTR source);
HRESULT StringCchCopyNW(LPWSTR dest, size_t cchDest, LPCWSTR source, size_t cchToCopy);
// An unterminated `dest` (no terminator within cchDest) is STRSAFE_E_INVALID_PARAMETER.
HRESULT StringCchCatW(LPWSTR dest, size_t cchDest, LPCWSTR source);
// STRSAFE_E_INVALID_PARAMETER when there is no terminator within cchMax; *length is then 0.
HRESULT StringCchLengthW(LPCWSTR text, size_t cchMax, size_t* length);

// Searches as shlwapi does; the overloads keep the constness of the searched string. An empty
// or null needle finds nothing, and StrChrW never finds the terminator.
const WCHAR* StrStrW(const WCHAR* haystack, const WCHAR* needle);
WCHAR* StrStrW(WCHAR* haystack, const WCHAR* needle);
const WCHAR* StrStrIW(const WCHAR* haystack, const WCHAR* needle);
WCHAR* StrStrIW(WCHAR* haystack, const WCHAR* needle);
const WCHAR* StrChrW(const WCHAR* text, WCHAR c);
WCHAR* StrChrW(WCHAR* text, WCHAR c);
// Last `c` in [start, end); a null `end` means the end of the string.
const WCHAR* StrRChrW(const WCHAR* start, const WCHAR* end, WCHAR c);
WCHAR* StrRChrW(WCHAR* start, const WCHAR* end, WCHAR c);
