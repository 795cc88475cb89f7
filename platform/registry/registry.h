// The registry: keys and typed values under the predefined roots, with the Win32 names, results
// and buffer rules. It lives in one SQLite file per user and may be shared by several processes.
// Every function returns its error code (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ...) and leaves the
// thread's last error alone.
#pragma once

#include <string>

#include "platform/core/error.h"
#include "platform/core/types.h"

using REGSAM = DWORD;
using PHKEY = HKEY*;
// Only passed through: the registry keeps no security descriptors.
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// The predefined roots, with their Win32 values. They are always open; closing one does nothing.
inline HKEY const HKEY_CLASSES_ROOT =
    reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000000)));
inline HKEY const HKEY_CURRENT_USER =
    reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000001)));
inline HKEY const HKEY_LOCAL_MACHINE =
    reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000002)));
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000003)));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0x00000000;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Access rights are accepted and not enforced: every key belongs to the one user.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

// Names longer than these are refused with ERROR_INVALID_PARAMETER.
constexpr DWORD kMaxRegistryKeyNameLength = 255;
constexpr DWORD kMaxRegistryValueNameLength = 16383;

// Opens or creates the key `subKey` under `hKey`, creating missing intermediate keys.
// `disposition` (optional) receives REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
LONG RegCreateKeyExW(HKEY hKey, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES security, PHKEY result,
                     LPDWORD disposition);
// A missing key is ERROR_FILE_NOT_FOUND. An empty `subKey` opens `hKey` again.
LONG RegOpenKeyExW(HKEY hKey, LPCWSTR subKey, DWORD options, REGSAM samDesired, PHKEY result);
LONG RegCloseKey(HKEY hKey);
// Makes every change written so far durable on disk.
LONG RegFlushKey(HKEY hKey);

// A null or empty `name` is the key's default value. With `data` null the size alone is returned.
// A buffer that is too small gives ERROR_MORE_DATA with the size needed in *cbData; a string value
// then receives as much of the text as fits, terminated, so that it is never read unterminated.
LONG RegQueryValueExW(HKEY hKey, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD cbData);
// Data is stored exactly as given; a REG_DWORD must be 4 bytes (ERROR_INVALID_PARAMETER).
LONG RegSetValueExW(HKEY hKey, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD cbData);
LONG RegDeleteValueW(HKEY hKey, LPCWSTR name);
// A key that still has subkeys is refused with ERROR_ACCESS_DENIED; its values go with it.
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR subKey);

// Enumeration runs by name, case-insensitively; past the end is ERROR_NO_MORE_ITEMS. *cchName is
// the buffer's size in characters on entry and the name's length without terminator on return;
// a name that does not fit gives ERROR_MORE_DATA.
LONG RegEnumKeyExW(HKEY hKey, DWORD index, LPWSTR name, LPDWORD cchName, LPDWORD reserved,
                   LPWSTR keyClass, LPDWORD cchClass, FILETIME* lastWriteTime);
LONG RegEnumValueW(HKEY hKey, DWORD index, LPWSTR name, LPDWORD cchName, LPDWORD reserved,
                   LPDWORD type, LPBYTE data, LPDWORD cbData);
// Counts and the longest names (in characters, without terminator) and data (in bytes).
LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR keyClass, LPDWORD cchClass, LPDWORD reserved,
                      LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD maxClassLength,
                      LPDWORD values, LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                      LPDWORD securityDescriptorSize, FILETIME* lastWriteTime);

namespace platform {

// Chooses the registry file (empty: $XDG_CONFIG_HOME/pictarium/registry.db) and creates its
// folder; the file is opened on first use. Keys opened before are closed. False when the folder
// cannot be created (the registry then falls back as for an unusable file).
bool ConfigureRegistry(const std::string& hostPath);

// The file chosen by ConfigureRegistry, or the default one.
std::string RegistryPath();

// True when the registry is kept in its file, false when it had to fall back to memory (the
// reason is on the debug output). Opens the file if it is not open yet.
bool RegistryIsPersistent();

// Closes the database so that its log is folded back into the file; open keys stay valid and the
// next call opens it again. For an orderly exit.
void CloseRegistry();

}  // namespace platform
