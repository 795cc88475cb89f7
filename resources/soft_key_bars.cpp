// The program's soft-key bars: two keys each, left first. A key with a pop-up index opens that
// pop-up of the bar's menu; its command still names the pop-up in WM_INITMENUPOPUP.
#include "platform/controls/dialog/dialog.h"
#include "resources/resource_ids.h"
#include "resources/resource_tables.h"
#include "resources/table_checks.h"

namespace {

using platform::SoftKeyBarResource;
using platform::SoftKeyResource;

constexpr SoftKeyResource kUp{ID_SOFTKEY_UP, IDS_SOFTKEY_UP};
constexpr SoftKeyResource kMenu{ID_SOFTKEY_MENU, IDS_SOFTKEY_MENU, 0};
constexpr SoftKeyResource kDone{ID_SOFTKEY_DONE, IDS_SOFTKEY_DONE};
constexpr SoftKeyResource kCancel{ID_SOFTKEY_CANCEL, IDS_SOFTKEY_CANCEL};

constexpr SoftKeyResource kBrowserKeys[] = {kUp, kMenu};
constexpr SoftKeyResource kDoneCancelKeys[] = {kDone, kCancel};
// The image view's "OK" is IDOK, so the title-bar OK button and the soft key act alike.
constexpr SoftKeyResource kImageViewKeys[] = {{IDOK, IDS_SOFTKEY_OK}, kMenu};
constexpr SoftKeyResource kImageEditKeys[] = {{ID_SOFTKEY_EDIT_OK, IDS_SOFTKEY_OK}, kMenu};
constexpr SoftKeyResource kCropKeys[] = {{ID_SOFTKEY_SAVE, IDS_SOFTKEY_SAVE}, kCancel};
constexpr SoftKeyResource kPropertiesKeys[] = {kDone, kMenu};

constexpr UINT kNoMenu = 0;

constexpr SoftKeyBarResource kSoftKeyBars[] = {
    {IDR_MENUBAR_ALL, IDM_MENU_ALL, kBrowserKeys},
    {IDR_MENUBAR_DOCUMENT, IDM_MENU_DOCUMENT, kBrowserKeys},
    {IDR_MENUBAR_IMAGE, IDM_MENU_IMAGE, kBrowserKeys},
    {IDR_MENUBAR_VIDEO, IDM_MENU_VIDEO, kBrowserKeys},
    {IDR_MENUBAR_MUSIC, IDM_MENU_MUSIC, kBrowserKeys},
    {IDR_MENUBAR_DONE_CANCEL, kNoMenu, kDoneCancelKeys},
    {IDR_MENUBAR_IMAGE_VIEW, IDM_IMAGE_VIEW, kImageViewKeys},
    {IDR_MENUBAR_IMAGE_EDIT, IDM_IMAGE_EDIT, kImageEditKeys},
    {IDR_MENUBAR_CROP, kNoMenu, kCropKeys},
    {IDR_MENUBAR_PROPERTIES, IDM_PROPERTIES, kPropertiesKeys},
};
static_assert(resources::StrictlyAscendingIds(std::span<const SoftKeyBarResource>(kSoftKeyBars)),
              "soft-key bars are looked up by binary search");

}  // namespace

std::span<const SoftKeyBarResource> ProgramSoftKeyBars() {
    return kSoftKeyBars;
}
