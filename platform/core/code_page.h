// WideCharToMultiByte and MultiByteToWideChar for the code pages the program names: UTF-8
// (CP_UTF8, 65001) and the default code page, which on this platform is UTF-8 as well.
#pragma once

#include "platform/core/types.h"

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;

// As on the handheld: a source length of -1 includes the terminator in the count; a destination
// size of 0 asks for the size needed. A destination too small fails with
// ERROR_INSUFFICIENT_BUFFER and writes nothing that could be mistaken for a whole string.
// Other code pages, and an empty source, fail with ERROR_INVALID_PARAMETER. Ill-formed input
// becomes U+FFFD.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                        char* destination, int destinationSize, const char* defaultChar,
                        BOOL* usedDefaultChar);
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* source, int sourceLength,
                        LPWSTR destination, int destinationSize);
