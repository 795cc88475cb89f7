// LoadLibrary and GetProcAddress over the platform's built-in modules. There are no shared
// libraries to load: a module is a table of exports by ordinal, and loading one hands out a
// counted reference to it.
#pragma once

#include <string>

#include "platform/core/types.h"

using FARPROC = void (*)();

// The module named `name` (compared without case, with or without a folder); null with
// ERROR_MOD_NOT_FOUND (126) when there is no such module.
HMODULE LoadLibraryW(LPCWSTR name);
// An export by ordinal (MAKEINTRESOURCE-style, low word) or by name; null with
// ERROR_PROC_NOT_FOUND (127) when there is none, ERROR_INVALID_HANDLE for a module not loaded.
// The result only stands for the function: cast it back to the export's exact type to call it.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName);
// Gives back one reference from LoadLibraryW; FALSE with ERROR_INVALID_HANDLE for a module that
// holds none (never loaded, already freed, or not a module).
BOOL FreeLibrary(HMODULE module);

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

namespace platform {

// Takes a module out of (or back into) the table, as a device without it would be; for tests of
// the program's fallbacks.
void SetModuleAvailable(const std::u16string& name, bool available);

}  // namespace platform
