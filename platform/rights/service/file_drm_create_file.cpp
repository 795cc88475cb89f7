// FileDrmCreateFile: a read-only handle on the clear content. Opening spends nothing; the caller
// commits a use later with FileDrmCommitRights.
#include "platform/rights/file_drm.h"
#include "platform/rights/service/drm_file_stream.h"
#include "platform/rights/service/file_drm_content.h"

namespace platform::rights {
namespace {

// Separate delivery: the key of any rights object for the content that decrypts it. A wrong key
// shows as bad padding, so each is tried in install order.
std::optional<std::vector<std::uint8_t>> DecryptWithInstalledKey(const ContentRights& content) {
    for (const StoredRights& rights : content.rights) {
        if (!rights.object.key)
            continue;
        auto clear = ReadClearContent(content.hostPath, *rights.object.key);
        if (clear)
            return clear;
    }
    return std::nullopt;
}

HRESULT OpenContent(LPCWSTR path, HANDLE& handle) {
    const LookUpResult found = LookUpContent(path);
    if (const HRESULT hr = ProtectedContentResult(found); hr != S_OK)
        return hr;
    const ContentRights& content = *found.content;
    if (!AnyUseAllowed(content, RightsNow()))
        return S_FALSE;

    auto clear = content.file.method == DeliveryMethod::SeparateDelivery
                     ? DecryptWithInstalledKey(content)
                     : ReadClearContent(content.hostPath, std::nullopt);
    if (!clear) {
        // No key fits, or the file changed into something unreadable since it was checked.
        return content.file.method == DeliveryMethod::SeparateDelivery
                   ? E_FDRM_NOLICENSE
                   : HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    handle = RegisterHandle(
        std::make_shared<DrmFileStream>(std::move(*clear), content.file.method, content.file.uid));
    return S_OK;
}

}  // namespace
}  // namespace platform::rights

HRESULT FileDrmCreateFile(LPCWSTR path, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                          DWORD creationDisposition, DWORD, HANDLE, HANDLE* handle) {
    if (handle == nullptr)
        return E_POINTER;
    *handle = INVALID_HANDLE_VALUE;
    if (path == nullptr)
        return E_INVALIDARG;
    // Protected content is only ever read: nothing may write, create or truncate it.
    if ((desiredAccess & GENERIC_WRITE) != 0 ||
        (creationDisposition != OPEN_EXISTING && creationDisposition != OPEN_ALWAYS))
        return E_ACCESSDENIED;
    return platform::rights::OpenContent(path, *handle);
}
