// FileDrmShowLicenseInfo: the rights dialog, listing what the file's rights allow and what is
// left of them.
#include "platform/controls/message_box/message_box.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/service/file_drm_content.h"
#include "platform/rights/service/rights_dialogs.h"
#include "platform/rights/service/rights_messages.h"

HRESULT FileDrmShowLicenseInfo(HWND owner, LPCWSTR path) {
    using namespace platform::rights;
    if (path == nullptr)
        return E_INVALIDARG;
    const LookUpResult found = LookUpContent(path);
    if (const HRESULT hr = ProtectedContentResult(found); hr != S_OK)
        return hr;
    const std::string name = ContentDisplayName(found.content->file, path);
    ShowRightsMessage(owner, LicenseInfoText(*found.content, name, RightsNow()),
                      MB_OK | MB_ICONINFORMATION);
    return S_OK;
}
