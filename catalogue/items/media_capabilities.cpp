// The menus' capability tests: can an item be sent, used by Set as, or edited.
#include <string>

#include "catalogue/items/media_extension.h"
#include "catalogue/items/media_item.h"
#include "platform/fs/attributes.h"
#include "platform/rights/file_drm.h"

namespace {

using catalogue_items::ExtensionIn;
using catalogue_items::LastExtension;

// Verify quietly and only check: no dialog, and no metered use reported.
constexpr DWORD kQuietCheck = FDRVF_NOUI | FDRVF_VERIFY_CONTINUE;

// The sound formats Set as can hand to the ringtone and media-player settings.
constexpr const char16_t* kSetAsSoundExtensions[] = {
    u".MP3",      u".WAV",      u".WMA",     u".AIF",     u".AIFC",     u".AIFC-DRM", u".AIF-DRM",
    u".AIFF",     u".AIFF-DRM", u".AU",      u".AU-DRM",  u".IMY",      u".MID",      u".MID-DRM",
    u".MIDI",     u".MMF",      u".MMF-DRM", u".MP3-DRM", u".MXMF",     u".MXMF-DRM", u".RMF",
    u".RMF-DRM",  u".RNG",      u".RNG-DRM", u".RTTL",    u".RTTL-DRM", u".RTX",      u".RTX-DRM",
    u".SMS",      u".SMS-DRM",  u".WAV-DRM", u".XMF",     u".XMF0",     u".XMF0-DRM", u".XMF1",
    u".XMF1-DRM", u".XMF-DRM",  u".AMR",     u".AAC",     u".MP4",      u".3GP",      u".M4A"};

constexpr const char16_t* kNotSetAsPictures[] = {u".wbmp"};
constexpr const char16_t* kNotEditablePictures[] = {u".wbmp", u".gif"};

bool RightAllowed(const std::u16string& path, DWORD right) {
    DWORD status = 0;
    return SUCCEEDED(FileDrmVerifyRights(nullptr, path.c_str(), right, kQuietCheck, &status));
}

}  // namespace

void CMediaItem::EnsureRightsChecked() {
    if (!m_dwDrmChecked)
        LookUpRights();
}

int CMediaItem::CanSend() {
    if (m_dwType == MEDIA_FOLDER)
        return 0;
    EnsureRightsChecked();
    // A file whose rights issuer can send new rights travels without them.
    if (m_pDrmInfo && m_pDrmInfo->dwStatus == DRM_HAS_RIGHTS_ISSUER)
        return 1;
    return RightAllowed(FullPath(), FDRRF_FORWARD) ? 1 : 0;
}

int CMediaItem::CanSetAs() {
    const std::u16string_view extension = LastExtension(m_szName);
    switch (m_dwType) {
        case MEDIA_MUSIC:
        case MEDIA_VIDEO:
            if (!ExtensionIn(extension, kSetAsSoundExtensions, true))
                return 0;
            EnsureRightsChecked();
            // The handheld asks this through its shell's rights query by ordinal; here that query
            // is FileDrmVerifyRights itself.
            return !m_dwIsDrm || RightAllowed(FullPath(), FDRRF_PLAY) ? 1 : 0;
        case MEDIA_IMAGE: {
            if (ExtensionIn(extension, kNotSetAsPictures, true))
                return 0;
            EnsureRightsChecked();
            auto* picture = dynamic_cast<CImageItem*>(this);
            return picture != nullptr && !IsProtected() && picture->IsDecodable() ? 1 : 0;
        }
        default:
            return 0;
    }
}

int CMediaItem::CanEdit() {
    if (m_dwType != MEDIA_IMAGE || ExtensionIn(LastExtension(m_szName), kNotEditablePictures, true))
        return 0;
    const DWORD attributes = GetFileAttributesW(FullPath().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    return attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM) ? 0 : 1;
}
