// The kind of a directory entry by its name, and its size in kilobytes.
#include <array>
#include <span>

#include "catalogue/items/media_extension.h"
#include "catalogue/items/media_item.h"

namespace {

using catalogue_items::ExtensionIn;
using catalogue_items::LastExtension;

constexpr const char16_t* kImageNoCase[] = {u".jpeg", u".jpg", u".gif", u".wbmp",
                                            u".bmp",  u".png", u".jpe"};
constexpr const char16_t* kDocumentNoCase[] = {u".doc",  u".docx", u".xls", u".xlsx",
                                               u".xltx", u".html", u".htm", u".pdf",
                                               u".ppt",  u".pptx", u".txt"};
constexpr const char16_t* kMusicNoCase[] = {u".mp3-drm", u".wmp", u".wma", u".mp3",
                                            u".wav-drm", u".ra",  u".m4a"};
// These match only as written, in lower case: SONG.AMR or CLIP.3GP is not listed.
constexpr const char16_t* kMusicExact[] = {
    u".amr",      u".aac",      u".mid-drm",  u".midi-drm", u".rmf-drm",  u".imy-drm",  u".rtx-drm",
    u".rttl-drm", u".sms-drm",  u".xmf-drm",  u".xmf0-drm", u".xmf1-drm", u".mxmf-drm", u".rng-drm",
    u".aif-drm",  u".aiff-drm", u".aifc-drm", u".au-drm",   u".mid",      u".midi",     u".rmf",
    u".imy",      u".rtx",      u".rttl",     u".mmf",      u".sms",      u".xmf",      u".xmf0",
    u".xmf1",     u".mxmf",     u".rng",      u".aif",      u".aiff",     u".aifc",     u".au",
    u".wav",      u".wm"};
constexpr const char16_t* kVideoNoCase[] = {u".3gpp", u".mp4", u".avi", u".wmv",
                                            u".rm",   u".rv",  u".m4v", u".asf"};
constexpr const char16_t* kVideoExact[] = {u".3gp"};

struct KindLists {
    MediaType type;
    std::span<const char16_t* const> ignoringCase;
    std::span<const char16_t* const> exact;
};

// Searched in this order; the first match decides.
const std::array<KindLists, 4> kKinds = {{
    {MEDIA_IMAGE, kImageNoCase, {}},
    {MEDIA_DOCUMENT, kDocumentNoCase, {}},
    {MEDIA_MUSIC, kMusicNoCase, kMusicExact},
    {MEDIA_VIDEO, kVideoNoCase, kVideoExact},
}};

// (2^32 - 1) / 1024: the weight of the high size word in kilobytes.
constexpr double kHighWordKB = 4194303.9990234375;

}  // namespace

MediaType ClassifyMediaName(LPCWSTR name) {
    const std::u16string_view extension = LastExtension(name);
    if (extension.empty())
        return MEDIA_UNKNOWN;
    for (const KindLists& kind : kKinds) {
        if (ExtensionIn(extension, kind.ignoringCase, true) ||
            ExtensionIn(extension, kind.exact, false)) {
            return kind.type;
        }
    }
    return MEDIA_UNKNOWN;
}

double SizeInKB(DWORD sizeHigh, DWORD sizeLow) {
    const double kb = sizeLow / 1024.0;
    return sizeHigh == 0 ? kb : kb + sizeHigh * kHighWordKB;
}
