// An open registry key that closes itself. Reads keep their caller's default when a value is
// missing or unreadable, because the program treats registry failures as silent.
#pragma once

#include "platform/core/types.h"
#include "platform/registry/registry.h"

class CRegKey {
  public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // RegOpenKeyExW; false when the key does not exist or cannot be opened.
    bool Open(HKEY root, LPCWSTR subKey);
    // RegCreateKeyExW (create-if-missing).
    bool Create(HKEY root, LPCWSTR subKey);
    void Close();
    bool IsOpen() const { return m_hKey != nullptr; }

    // The DWORD value `name`, or `fallback`.
    DWORD QueryDword(LPCWSTR name, DWORD fallback) const;
    // Reads the string `name` into `buffer` of `bytes` bytes. A value that is too long still
    // counts as read (true), as the program expects; the buffer is always left terminated.
    bool QueryString(LPCWSTR name, WCHAR* buffer, DWORD bytes) const;
    bool SetDword(LPCWSTR name, DWORD value) const;
    bool SetString(LPCWSTR name, LPCWSTR value) const;
    bool HasValue(LPCWSTR name) const;

  private:
    HKEY m_hKey = nullptr;
};
