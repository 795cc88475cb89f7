// The Win32 registry functions: argument checks and buffer rules here, storage in KeyStore.
#include <vector>

#include "platform/registry/key_handles.h"
#include "platform/registry/reg_names.h"
#include "platform/registry/registry.h"
#include "platform/registry/registry_session.h"
#include "platform/registry/value_buffers.h"

using platform::registry::KeyHandles;
using platform::registry::KeyId;
using platform::registry::KeyInfo;
using platform::registry::NameView;
using platform::registry::Session;
using platform::registry::SplitKeyPath;
using platform::registry::ValueRecord;

namespace {

using KeyPath = std::vector<std::u16string>;

// Checks the path and result arguments of the calls that open keys; the result starts out null
// so that a caller never keeps a stale handle from a failed call.
LONG PrepareOpen(LPCWSTR subKey, PHKEY result, KeyPath& path) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return SplitKeyPath(NameView(subKey), path) ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

bool ValueNameFits(LPCWSTR name) {
    return NameView(name).size() <= kMaxRegistryValueNameLength;
}

}  // namespace

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                     PHKEY result, LPDWORD disposition) {
    KeyPath path;
    if (LONG error = PrepareOpen(subKey, result, path))
        return error;
    return Session::Instance().Run(hKey, [&](Session::Call& call) {
        KeyId key = 0;
        bool created = false;
        if (LONG error = call.store.CreateKey(call.key, path, key, created))
            return error;
        *result = call.handles.Add(key);
        if (disposition)
            *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return LONG{ERROR_SUCCESS};
    });
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    KeyPath path;
    if (LONG error = PrepareOpen(subKey, result, path))
        return error;
    // As on Win32, reopening a root itself gives back the root's own handle.
    if (path.empty() && KeyHandles::IsPredefined(hKey)) {
        *result = hKey;
        return ERROR_SUCCESS;
    }
    return Session::Instance().Run(hKey, [&](Session::Call& call) {
        KeyId key = 0;
        if (LONG error = call.store.OpenKey(call.key, path, key))
            return error;
        *result = call.handles.Add(key);
        return LONG{ERROR_SUCCESS};
    });
}

LONG RegCloseKey(HKEY hKey) {
    return Session::Instance().CloseKey(hKey);
}

LONG RegFlushKey(HKEY hKey) {
    return Session::Instance().Run(hKey, [](Session::Call& call) {
        return call.store.Flush() ? LONG{ERROR_SUCCESS} : LONG{ERROR_CANTWRITE};
    });
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD cbData) {
    if (data && !cbData)
        return ERROR_INVALID_PARAMETER;
    return Session::Instance().Run(hKey, [&](Session::Call& call) {
        ValueRecord value;
        if (LONG error = call.store.GetValue(call.key, NameView(name), value))
            return error;
        if (type)
            *type = value.type;
        return platform::registry::CopyValueData(value.type, value.data, data, cbData);
    });
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD cbData) {
    if (!ValueNameFits(name) || (!data && cbData > 0))
        return ERROR_INVALID_PARAMETER;
    if (type == REG_DWORD && cbData != sizeof(DWORD))
        return ERROR_INVALID_PARAMETER;
    const std::span<const std::uint8_t> bytes(data, data ? cbData : 0);
    return Session::Instance().Run(hKey, [&](Session::Call& call) {
        return call.store.SetValue(call.key, NameView(name), type, bytes);
    });
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR name) {
    if (!ValueNameFits(name))
        return ERROR_INVALID_PARAMETER;
    return Session::Instance().Run(hKey, [&](Session::Call& call) {
        return call.store.DeleteValue(call.key, NameView(name));
    });
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR subKey) {
    KeyPath path;
    if (!subKey || !SplitKeyPath(subKey, path))
        return ERROR_INVALID_PARAMETER;
    return Session::Instance().Run(
        hKey, [&](Session::Call& call) { return call.store.DeleteKey(call.key, path); });
}

LONG RegEnumKeyExW(HKEY hKey, DWORD index, LPWSTR name, LPDWORD cchName, LPDWORD, LPWSTR keyClass,
                   LPDWORD cchClass, FILETIME* lastWriteTime) {
    if (!name || !cchName)
        return ERROR_INVALID_PARAMETER;
    return Session::Instance().Run(hKey, [&](Session::Call& call) {
        std::u16string found;
        FILETIME written{};
        if (LONG error = call.store.EnumKey(call.key, index, found, written))
            return error;
        if (LONG error = platform::registry::CopyName(found, name, cchName))
            return error;
        // Keys carry no class names.
        if (keyClass && cchClass && *cchClass > 0)
            keyClass[0] = u'\0';
        if (cchClass)
            *cchClass = 0;
        if (lastWriteTime)
            *lastWriteTime = written;
        return LONG{ERROR_SUCCESS};
    });
}

LONG RegEnumValueW(HKEY hKey, DWORD index, LPWSTR name, LPDWORD cchName, LPDWORD, LPDWORD type,
                   LPBYTE data, LPDWORD cbData) {
    if (!name || !cchName || (data && !cbData))
        return ERROR_INVALID_PARAMETER;
    return Session::Instance().Run(hKey, [&](Session::Call& call) {
        ValueRecord value;
        if (LONG error = call.store.EnumValue(call.key, index, value))
            return error;
        if (LONG error = platform::registry::CopyName(value.name, name, cchName))
            return error;
        if (type)
            *type = value.type;
        return platform::registry::CopyValueData(value.type, value.data, data, cbData);
    });
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR keyClass, LPDWORD cchClass, LPDWORD, LPDWORD subKeys,
                      LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                      LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                      LPDWORD securityDescriptorSize, FILETIME* lastWriteTime) {
    return Session::Instance().Run(hKey, [&](Session::Call& call) {
        KeyInfo info;
        if (LONG error = call.store.QueryInfo(call.key, info))
            return error;
        const auto put = [](LPDWORD out, DWORD value) {
            if (out)
                *out = value;
        };
        if (keyClass && cchClass && *cchClass > 0)
            keyClass[0] = u'\0';
        put(cchClass, 0);
        put(subKeys, info.subKeys);
        put(maxSubKeyLength, info.maxSubKeyLength);
        put(maxClassLength, 0);
        put(values, info.values);
        put(maxValueNameLength, info.maxValueNameLength);
        put(maxValueLength, info.maxValueLength);
        put(securityDescriptorSize, 0);
        if (lastWriteTime)
            *lastWriteTime = info.lastWrite;
        return LONG{ERROR_SUCCESS};
    });
}

namespace platform {

bool ConfigureRegistry(const std::string& hostPath) {
    return registry::Session::Instance().Configure(hostPath);
}

std::string RegistryPath() {
    return registry::Session::Instance().Path();
}

bool RegistryIsPersistent() {
    return registry::Session::Instance().IsPersistent();
}

void CloseRegistry() {
    registry::Session::Instance().Close();
}

}  // namespace platform
