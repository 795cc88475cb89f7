// The program's menus. The main window and the views find sub-menus by position
// (WM_INITMENUPOPUP, GetSubMenu), so the order of items is part of the contract: the "Menu"
// pop-ups have no separators, and the file context menu keeps Send and Set as at 8 and 9.
#include "platform/controls/menu.h"
#include "resources/resource_ids.h"
#include "resources/resource_tables.h"
#include "resources/table_checks.h"

namespace {

using platform::MenuItemResource;
using platform::MenuResource;

constexpr MenuItemResource Command(UINT id, LPCWSTR text, UINT flags = MF_STRING) {
    return {flags, id, text, {}};
}
constexpr MenuItemResource Popup(LPCWSTR text, std::span<const MenuItemResource> items) {
    return {MF_POPUP, 0, text, items};
}
constexpr MenuItemResource kSeparator{MF_SEPARATOR, 0, nullptr, {}};

// Commands that appear in several menus.
constexpr MenuItemResource kDelete = Command(ID_DELETE, u"Delete");
constexpr MenuItemResource kProperties = Command(ID_PROPERTIES, u"Properties");
constexpr MenuItemResource kPlaySlideShow = Command(ID_SLIDESHOW_PLAY, u"Play Slide Show");
constexpr MenuItemResource kSlideShowOptions =
    Command(ID_SLIDESHOW_OPTIONS, u"Slide Show Options...");
constexpr MenuItemResource kAddToNowPlaying = Command(ID_ADD_TO_NOW_PLAYING, u"Add to Now Playing");
constexpr MenuItemResource kCut = Command(ID_EDIT_CUT, u"Cut");
constexpr MenuItemResource kCopy = Command(ID_EDIT_COPY, u"Copy");
constexpr MenuItemResource kPaste = Command(ID_EDIT_PASTE, u"Paste");
constexpr MenuItemResource kSelectToggle = Command(ID_EDIT_SELECT_TOGGLE, u"Select / Deselect");
constexpr MenuItemResource kSelectAll = Command(ID_EDIT_SELECT_ALL, u"Select All");
constexpr MenuItemResource kSelectNone = Command(ID_EDIT_SELECT_NONE, u"Select None");
constexpr MenuItemResource kRename = Command(ID_EDIT_RENAME, u"Rename");
constexpr MenuItemResource kNewFolder = Command(ID_EDIT_NEW_FOLDER, u"New Folder");
constexpr MenuItemResource kTodayBackground = Command(ID_SET_AS_TODAY, u"Today Background");
constexpr MenuItemResource kCallerId = Command(ID_SET_AS_CALLER_ID, u"Caller ID");
constexpr MenuItemResource kRingtone = Command(ID_SET_AS_RINGTONE, u"Ringtone");

// Shared sub-menus. The Edit rules disable positions 0 to 6, so New Folder stays last.
constexpr MenuItemResource kSendItems[] = {
    Command(ID_SEND_MESSAGE, u"as Message"),
    Command(ID_SEND_BLUETOOTH, u"via Bluetooth"),
};
constexpr MenuItemResource kEditItems[] = {
    kCut, kCopy, kPaste, kSelectToggle, kSelectAll, kSelectNone, kRename, kNewFolder,
};
// Menu preparation radio-checks position 0, 1 or 2 for sort modes 100, 101, 102.
constexpr MenuItemResource kSortByItems[] = {
    Command(ID_SORT_BY_NAME, u"Name", MF_STRING | MFT_RADIOCHECK),
    Command(ID_SORT_BY_DATE, u"Date", MF_STRING | MFT_RADIOCHECK),
    Command(ID_SORT_BY_SIZE, u"Size", MF_STRING | MFT_RADIOCHECK),
};
constexpr MenuItemResource kSetAsAnyItems[] = {kTodayBackground, kCallerId, kRingtone};
constexpr MenuItemResource kSetAsImageItems[] = {kTodayBackground, kCallerId};
constexpr MenuItemResource kSetAsSoundItems[] = {kRingtone};

constexpr MenuItemResource kSend = Popup(u"Send", kSendItems);
constexpr MenuItemResource kEdit = Popup(u"Edit", kEditItems);
constexpr MenuItemResource kSortBy = Popup(u"Sort by", kSortByItems);
constexpr MenuItemResource kSetAsAny = Popup(u"Set as", kSetAsAnyItems);
constexpr MenuItemResource kSetAsImage = Popup(u"Set as", kSetAsImageItems);
constexpr MenuItemResource kSetAsSound = Popup(u"Set as", kSetAsSoundItems);

// The "Menu" pop-ups of the five browser menu bars, one per type filter.
constexpr MenuItemResource kAllItems[] = {
    kSend,                          // 0
    kSetAsAny,                      // 1
    kDelete,                        // 2
    kEdit,                          // 3
    kSortBy,                        // 4
    kPlaySlideShow,                 // 5
    kAddToNowPlaying,               // 6
    Command(ID_UNLOCK, u"Unlock"),  // 7
    kProperties,                    // 8
    kSlideShowOptions,              // 9
};
constexpr MenuItemResource kDocumentItems[] = {
    kSend,        // 0
    kDelete,      // 1
    kEdit,        // 2
    kSortBy,      // 3
    kProperties,  // 4
};
constexpr MenuItemResource kImageItems[] = {
    kSend,              // 0
    kSetAsImage,        // 1
    kDelete,            // 2
    kEdit,              // 3
    kSortBy,            // 4
    kPlaySlideShow,     // 5
    kProperties,        // 6
    kSlideShowOptions,  // 7
};
constexpr MenuItemResource kMusicItems[] = {
    kSend,             // 0
    kSetAsSound,       // 1
    kDelete,           // 2
    kEdit,             // 3
    kSortBy,           // 4
    kAddToNowPlaying,  // 5
    kProperties,       // 6
};
constexpr MenuItemResource kVideoItems[] = {
    kSend,             // 0
    kDelete,           // 1
    kEdit,             // 2
    kSortBy,           // 3
    kAddToNowPlaying,  // 4
    kProperties,       // 5
};

// Context menus of the thumbnail grid (tap and hold).
constexpr MenuItemResource kNormalContextItems[] = {
    kCut, kCopy, kDelete, kRename, kSeparator, kSelectToggle, kSelectAll, kSelectNone,
};
constexpr MenuItemResource kFolderContextItems[] = {
    kCut, kCopy, kDelete, kRename, kSeparator, kNewFolder, kSelectAll, kSelectNone,
};
constexpr MenuItemResource kMediaContextItems[] = {
    kCut,           // 0
    kCopy,          // 1
    kDelete,        // 2
    kRename,        // 3
    kSeparator,     // 4
    kSelectToggle,  // 5
    kSelectAll,     // 6
    kSelectNone,    // 7
    kSend,          // 8
    kSetAsAny,      // 9
};
constexpr MenuItemResource kMarginContextItems[] = {kPaste, kNewFolder};

// The image editor's menu, the properties view's pages, the image view's picture commands.
constexpr MenuItemResource kImageEditItems[] = {
    Command(ID_IMAGE_EDIT_CANCEL, u"Cancel"),
    Command(ID_IMAGE_EDIT_SAVE_AS, u"Save As"),
};
constexpr MenuItemResource kPropertiesItems[] = {
    Command(ID_PROPERTIES_BASIC, u"1. Basic info", MF_STRING | MF_CHECKED),
    Command(ID_PROPERTIES_RIGHTS, u"2. Right status", MF_STRING | MF_GRAYED),
};
constexpr MenuItemResource kImageViewItems[] = {
    kPlaySlideShow,
    kSend,
    kSetAsImage,
    kDelete,
    Command(ID_CROP, u"Crop"),
    Command(ID_EDIT_IMAGE, u"Edit Image"),
    Command(ID_UPLOAD_TO_WEB, u"Upload to Web"),
    Command(ID_FULL_SCREEN, u"Full Screen"),
    kSlideShowOptions,
    kProperties,
};

// Each menu resource is one top-level pop-up, as the soft-key bars and TrackPopupMenuEx use it.
constexpr MenuItemResource kAllTop[] = {Popup(u"Menu", kAllItems)};
constexpr MenuItemResource kDocumentTop[] = {Popup(u"Menu", kDocumentItems)};
constexpr MenuItemResource kImageTop[] = {Popup(u"Menu", kImageItems)};
constexpr MenuItemResource kMusicTop[] = {Popup(u"Menu", kMusicItems)};
constexpr MenuItemResource kNormalTop[] = {Popup(u"Normal", kNormalContextItems)};
constexpr MenuItemResource kFolderTop[] = {Popup(u"Folder", kFolderContextItems)};
constexpr MenuItemResource kMediaTop[] = {Popup(u"Media", kMediaContextItems)};
constexpr MenuItemResource kMarginTop[] = {Popup(u"Margin", kMarginContextItems)};
constexpr MenuItemResource kVideoTop[] = {Popup(u"Menu", kVideoItems)};
constexpr MenuItemResource kImageEditTop[] = {Popup(u"Menu", kImageEditItems)};
constexpr MenuItemResource kPropertiesTop[] = {Popup(u"Menu", kPropertiesItems)};
constexpr MenuItemResource kImageViewTop[] = {Popup(u"Menu", kImageViewItems)};

constexpr MenuResource kMenus[] = {
    {IDM_MENU_ALL, kAllTop},          {IDM_MENU_DOCUMENT, kDocumentTop},
    {IDM_MENU_IMAGE, kImageTop},      {IDM_MENU_MUSIC, kMusicTop},
    {IDM_CONTEXT_NORMAL, kNormalTop}, {IDM_CONTEXT_FOLDER, kFolderTop},
    {IDM_CONTEXT_MEDIA, kMediaTop},   {IDM_CONTEXT_MARGIN, kMarginTop},
    {IDM_MENU_VIDEO, kVideoTop},      {IDM_IMAGE_EDIT, kImageEditTop},
    {IDM_PROPERTIES, kPropertiesTop}, {IDM_IMAGE_VIEW, kImageViewTop},
};
static_assert(resources::StrictlyAscendingIds(std::span<const MenuResource>(kMenus)),
              "menus are looked up by binary search");

}  // namespace

std::span<const MenuResource> ProgramMenus() {
    return kMenus;
}
