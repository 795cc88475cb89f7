#include "imaging/rights/rights_client_session.h"

#include <vector>

#include "catalogue/media_types.h"
#include "platform/core/code_page.h"
#include "platform/rights/file_drm.h"

namespace imaging::rights {

namespace {

// The path as UTF-8 for the rights client; empty when it cannot be converted.
std::vector<char> Utf8Path(LPCWSTR path) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::vector<char> utf8(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_UTF8, 0, path, -1, utf8.data(), size, nullptr, nullptr) != size) {
        return {};
    }
    return utf8;
}

}  // namespace

DWORD RightForMediaType(DWORD mediaType) {
    return mediaType == MEDIA_IMAGE ? FDRRF_DISPLAY : FDRRF_PLAY;
}

DWORD SelectorForMediaType(DWORD mediaType) {
    return mediaType == MEDIA_MUSIC || mediaType == MEDIA_VIDEO ? LS_PERMISSION_PLAY
                                                                : LS_PERMISSION_DISPLAY;
}

RightsClientSession::RightsClientSession(LPCWSTR path) {
    if (path == nullptr || path[0] == 0)
        return;
    const std::vector<char> utf8 = Utf8Path(path);
    if (utf8.empty())
        return;
    LSHANDLE handle = nullptr;
    if (LsOma_Open(utf8.data(), &handle) == LS_OK)
        handle_ = handle;
}

RightsClientSession::~RightsClientSession() {
    if (handle_ != nullptr)
        LsOma_Close(&handle_);
}

bool RightsClientSession::HasRightsIssuer() const {
    if (handle_ == nullptr)
        return false;
    DWORD length = 0;
    return LsOma_GetHeader(handle_, "Rights-Issuer", nullptr, &length) == LS_OK && length > 1;
}

}  // namespace imaging::rights
