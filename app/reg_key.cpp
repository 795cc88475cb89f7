#include "app/reg_key.h"

#include "platform/core/wstring.h"

bool CRegKey::Open(HKEY root, LPCWSTR subKey) {
    Close();
    if (RegOpenKeyExW(root, subKey, 0, KEY_ALL_ACCESS, &m_hKey) == ERROR_SUCCESS)
        return true;
    m_hKey = nullptr;
    return false;
}

bool CRegKey::Create(HKEY root, LPCWSTR subKey) {
    Close();
    DWORD disposition = 0;
    if (RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &m_hKey, &disposition) != ERROR_SUCCESS) {
        m_hKey = nullptr;
        return false;
    }
    return true;
}

void CRegKey::Close() {
    if (m_hKey != nullptr)
        RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

DWORD CRegKey::QueryDword(LPCWSTR name, DWORD fallback) const {
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    if (m_hKey == nullptr ||
        RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value)) {
        return fallback;
    }
    return value;
}

bool CRegKey::QueryString(LPCWSTR name, WCHAR* buffer, DWORD bytes) const {
    const DWORD units = bytes / sizeof(WCHAR);
    if (m_hKey == nullptr || units == 0)
        return false;
    DWORD size = units * sizeof(WCHAR);
    DWORD type = 0;
    const LONG result =
        RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    buffer[units - 1] = u'\0';
    if (result == ERROR_MORE_DATA)
        return true;
    if (result != ERROR_SUCCESS)
        return false;
    // A stored string may lack its terminator; end it where its bytes end.
    const DWORD stored = size / sizeof(WCHAR);
    if (stored < units)
        buffer[stored] = u'\0';
    return true;
}

bool CRegKey::SetDword(LPCWSTR name, DWORD value) const {
    return m_hKey != nullptr &&
           RegSetValueExW(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

bool CRegKey::SetString(LPCWSTR name, LPCWSTR value) const {
    const DWORD bytes = static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(WCHAR));
    return m_hKey != nullptr &&
           RegSetValueExW(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) ==
               ERROR_SUCCESS;
}

bool CRegKey::HasValue(LPCWSTR name) const {
    DWORD size = 0;
    return m_hKey != nullptr &&
           RegQueryValueExW(m_hKey, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
}
