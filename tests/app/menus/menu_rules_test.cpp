// The menus' enable rules applied to the program's real menu resources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/menus/menu_rules.h"
#include "platform/controls/menu.h"
#include "platform/user/resource.h"
#include "resources/resource_ids.h"
#include "tests/resources/resource_test_util.h"

namespace {

constexpr UINT kAllMenuIds[] = {ID_SEND_MESSAGE,    ID_SEND_BLUETOOTH,     ID_DELETE,
                                ID_SET_AS_TODAY,    ID_SET_AS_CALLER_ID,   ID_SET_AS_RINGTONE,
                                ID_SLIDESHOW_PLAY,  ID_ADD_TO_NOW_PLAYING, ID_UNLOCK,
                                ID_PROPERTIES,      ID_SLIDESHOW_OPTIONS,  ID_EDIT_CUT,
                                ID_EDIT_COPY,       ID_EDIT_PASTE,         ID_EDIT_SELECT_TOGGLE,
                                ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_NONE,   ID_EDIT_RENAME,
                                ID_EDIT_NEW_FOLDER};

UINT MenuIdOf(DWORD filter) {
    switch (filter) {
        case FILTER_ALL:
            return IDM_MENU_ALL;
        case FILTER_IMAGE:
            return IDM_MENU_IMAGE;
        case FILTER_VIDEO:
            return IDM_MENU_VIDEO;
        case FILTER_MUSIC:
            return IDM_MENU_MUSIC;
        default:
            return IDM_MENU_DOCUMENT;
    }
}

// A single picture item in the "All" menu with nothing that disables anything.
MenuState Picture(DWORD filter = FILTER_ALL) {
    MenuState state;
    state.filter = filter;
    state.empty = false;
    state.kind = MEDIA_IMAGE;
    state.canSend = true;
    state.canSetAs = true;
    state.showablePicture = true;
    return state;
}

MenuState Of(MediaType kind, DWORD filter = FILTER_ALL) {
    MenuState state = Picture(filter);
    state.kind = kind;
    state.canSetAs = kind == MEDIA_MUSIC || kind == MEDIA_VIDEO;
    state.canSend = kind != MEDIA_FOLDER;
    return state;
}

MenuState Empty(DWORD filter) {
    MenuState state;
    state.filter = filter;
    return state;
}

MenuState Selected(MenuState state, int count = 2) {
    state.selectionCount = count;
    return state;
}

class MenuRulesTest : public testing::Test {
  protected:
    // The "Menu" pop-up of the filter's menu resource, every item first disabled, so that a rule
    // that enables is seen to enable.
    HMENU LoadMain(DWORD filter) {
        bar_ = LoadMenuW(g_hInstance, MAKEINTRESOURCEW(MenuIdOf(filter)));
        EXPECT_NE(bar_, nullptr);
        return bar_ ? GetSubMenu(bar_, 0) : nullptr;
    }
    HMENU LoadSub(DWORD filter, MenuPopup which) {
        HMENU main = LoadMain(filter);
        for (int position = 0; main && position < GetMenuItemCount(main); ++position) {
            if (SubMenuAt(filter, position) == which)
                return GetSubMenu(main, position);
        }
        return nullptr;
    }
    void TearDown() override {
        if (bar_)
            DestroyMenu(bar_);
    }

    resources_test::ScopedProgramCatalogue catalogue_;
    HMENU bar_ = nullptr;
};

bool Exists(HMENU menu, UINT id) {
    return GetMenuState(menu, id, MF_BYCOMMAND) != 0xFFFFFFFF;
}

bool Enabled(HMENU menu, UINT id) {
    return (GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

void SetAll(HMENU menu, UINT flags) {
    for (UINT id : kAllMenuIds)
        EnableMenuItem(menu, id, MF_BYCOMMAND | flags);
}

// The ids of `ids` that the menu has and that are enabled.
std::vector<UINT> EnabledOf(HMENU menu, std::initializer_list<UINT> ids) {
    std::vector<UINT> enabled;
    for (UINT id : ids) {
        if (Exists(menu, id) && Enabled(menu, id))
            enabled.push_back(id);
    }
    return enabled;
}

TEST_F(MenuRulesTest, SubMenusSitWhereTheRulesLookForThem) {
    struct Case {
        DWORD filter;
        MenuPopup which;
        UINT idInside;
    };
    const Case cases[] = {
        {FILTER_ALL, MenuPopup::Send, ID_SEND_MESSAGE},
        {FILTER_ALL, MenuPopup::SetAs, ID_SET_AS_TODAY},
        {FILTER_ALL, MenuPopup::Edit, ID_EDIT_CUT},
        {FILTER_ALL, MenuPopup::SortBy, ID_SORT_BY_NAME},
        {FILTER_IMAGE, MenuPopup::SetAs, ID_SET_AS_CALLER_ID},
        {FILTER_IMAGE, MenuPopup::Edit, ID_EDIT_RENAME},
        {FILTER_MUSIC, MenuPopup::SetAs, ID_SET_AS_RINGTONE},
        {FILTER_MUSIC, MenuPopup::SortBy, ID_SORT_BY_SIZE},
        {FILTER_VIDEO, MenuPopup::Send, ID_SEND_BLUETOOTH},
        {FILTER_VIDEO, MenuPopup::Edit, ID_EDIT_PASTE},
        {FILTER_VIDEO, MenuPopup::SortBy, ID_SORT_BY_DATE},
        {FILTER_DOCUMENT, MenuPopup::Edit, ID_EDIT_NEW_FOLDER},
        {FILTER_DOCUMENT, MenuPopup::SortBy, ID_SORT_BY_NAME},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.filter << " " << c.idInside);
        const HMENU sub = LoadSub(c.filter, c.which);
        ASSERT_NE(sub, nullptr);
        EXPECT_TRUE(Exists(sub, c.idInside));
        DestroyMenu(bar_);
        bar_ = nullptr;
    }
    // The plain items of the short menus are no sub-menus.
    EXPECT_EQ(SubMenuAt(FILTER_DOCUMENT, 1), MenuPopup::None);
    EXPECT_EQ(SubMenuAt(FILTER_VIDEO, 4), MenuPopup::None);
    EXPECT_EQ(SubMenuAt(FILTER_ALL, 2), MenuPopup::None);
    EXPECT_EQ(SubMenuAt(FILTER_IMAGE, 9), MenuPopup::None);
}

TEST_F(MenuRulesTest, MainMenuOfEachFilter) {
    const std::initializer_list<UINT> kWatched = {ID_DELETE, ID_SLIDESHOW_PLAY,
                                                  ID_ADD_TO_NOW_PLAYING, ID_UNLOCK, ID_PROPERTIES};
    MenuState protectedPicture = Picture();
    protectedPicture.isProtected = true;
    MenuState locked = Of(MEDIA_MUSIC);
    locked.isProtected = true;
    locked.rightsNeedUnlock = true;
    MenuState dcfSound = Of(MEDIA_MUSIC);
    dcfSound.nameIsDcf = true;
    MenuState noShowable = Picture();
    noShowable.showablePicture = false;
    MenuState unsendable = Picture(FILTER_IMAGE);
    unsendable.canSend = false;

    struct Case {
        const char* what;
        MenuState state;
        std::vector<UINT> enabled;
    };
    const Case cases[] = {
        {"all: picture", Picture(), {ID_DELETE, ID_SLIDESHOW_PLAY, ID_PROPERTIES}},
        {"all: protected picture", protectedPicture, {ID_DELETE, ID_PROPERTIES}},
        {"all: nothing showable", noShowable, {ID_DELETE, ID_PROPERTIES}},
        {"all: sound",
         Of(MEDIA_MUSIC),
         {ID_DELETE, ID_SLIDESHOW_PLAY, ID_ADD_TO_NOW_PLAYING, ID_PROPERTIES}},
        {"all: video",
         Of(MEDIA_VIDEO),
         {ID_DELETE, ID_SLIDESHOW_PLAY, ID_ADD_TO_NOW_PLAYING, ID_PROPERTIES}},
        {"all: .dcf sound", dcfSound, {ID_DELETE, ID_SLIDESHOW_PLAY, ID_PROPERTIES}},
        {"all: locked sound", locked, {ID_DELETE, ID_ADD_TO_NOW_PLAYING, ID_UNLOCK, ID_PROPERTIES}},
        {"all: folder", Of(MEDIA_FOLDER), {ID_DELETE, ID_SLIDESHOW_PLAY, ID_PROPERTIES}},
        {"all: document", Of(MEDIA_DOCUMENT), {ID_DELETE, ID_SLIDESHOW_PLAY, ID_PROPERTIES}},
        {"all: selection", Selected(locked), {ID_DELETE}},
        {"all: empty", Empty(FILTER_ALL), {}},
        {"image: picture", Picture(FILTER_IMAGE), {ID_DELETE, ID_SLIDESHOW_PLAY, ID_PROPERTIES}},
        {"image: cannot send", unsendable, {ID_DELETE, ID_PROPERTIES}},
        {"image: selection", Selected(Picture(FILTER_IMAGE)), {ID_DELETE}},
        {"image: empty", Empty(FILTER_IMAGE), {}},
        {"music: sound",
         Of(MEDIA_MUSIC, FILTER_MUSIC),
         {ID_DELETE, ID_ADD_TO_NOW_PLAYING, ID_PROPERTIES}},
        {"music: folder", Of(MEDIA_FOLDER, FILTER_MUSIC), {ID_DELETE, ID_PROPERTIES}},
        {"music: selection", Selected(Of(MEDIA_MUSIC, FILTER_MUSIC)), {ID_DELETE}},
        {"music: empty", Empty(FILTER_MUSIC), {}},
        {"video: video",
         Of(MEDIA_VIDEO, FILTER_VIDEO),
         {ID_DELETE, ID_ADD_TO_NOW_PLAYING, ID_PROPERTIES}},
        {"video: folder", Of(MEDIA_FOLDER, FILTER_VIDEO), {ID_DELETE, ID_PROPERTIES}},
        {"video: selection", Selected(Of(MEDIA_VIDEO, FILTER_VIDEO)), {ID_DELETE}},
        {"video: empty", Empty(FILTER_VIDEO), {}},
        {"document: document", Of(MEDIA_DOCUMENT, FILTER_DOCUMENT), {ID_DELETE, ID_PROPERTIES}},
        {"document: selection", Selected(Of(MEDIA_DOCUMENT, FILTER_DOCUMENT)), {ID_DELETE}},
        {"document: empty", Empty(FILTER_DOCUMENT), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HMENU menu = LoadMain(c.state.filter);
        ASSERT_NE(menu, nullptr);
        SetAll(menu, MF_GRAYED);
        for (int position = 0; position < GetMenuItemCount(menu); ++position)
            EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_GRAYED);
        ApplyMainMenuRules(menu, c.state);
        EXPECT_EQ(EnabledOf(menu, kWatched), c.enabled);
        // Every position, sub-menus included, is enabled again.
        for (int position = 0; position < GetMenuItemCount(menu); ++position) {
            const UINT id = GetMenuItemID(menu, position);
            if (id == 0xFFFFFFFF) {
                EXPECT_EQ(GetMenuState(menu, position, MF_BYPOSITION) & MF_GRAYED, 0u) << position;
            }
        }
        DestroyMenu(bar_);
        bar_ = nullptr;
    }
}

TEST_F(MenuRulesTest, SendSubMenu) {
    MenuState unsendable = Picture();
    unsendable.canSend = false;
    MenuState expandSelection = Selected(Picture());
    expandSelection.viewMode = VIEW_EXPAND;
    struct Case {
        const char* what;
        MenuState state;
        bool sendable;
    };
    const Case cases[] = {
        {"picture", Picture(), true},
        {"sound", Of(MEDIA_MUSIC), true},
        {"cannot send", unsendable, false},
        {"folder", Of(MEDIA_FOLDER), false},
        {"selection in the grid", Selected(Picture()), false},
        {"selection behind a full-screen view", expandSelection, true},
        {"empty", Empty(FILTER_ALL), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HMENU send = LoadSub(FILTER_ALL, MenuPopup::Send);
        ASSERT_NE(send, nullptr);
        SetAll(send, c.sendable ? MF_GRAYED : MF_ENABLED);
        ApplySendMenuRules(send, c.state);
        EXPECT_EQ(Enabled(send, ID_SEND_MESSAGE), c.sendable);
        EXPECT_EQ(Enabled(send, ID_SEND_BLUETOOTH), c.sendable);
        DestroyMenu(bar_);
        bar_ = nullptr;
    }
}

TEST_F(MenuRulesTest, SetAsSubMenu) {
    MenuState placeholder = Picture();
    placeholder.usesPlaceholder = true;
    MenuState notUsable = Picture();
    notUsable.canSetAs = false;
    MenuState expandSelection = Selected(Picture());
    expandSelection.viewMode = VIEW_EXPAND;
    MenuState wav = Of(MEDIA_MUSIC);
    MenuState unusableSound = Of(MEDIA_MUSIC);
    unusableSound.canSetAs = false;
    struct Case {
        const char* what;
        MenuState state;
        bool picture;
        bool ringtone;
    };
    const Case cases[] = {
        {"picture", Picture(), true, false},
        {"picture on its placeholder", placeholder, false, false},
        {"picture not usable", notUsable, false, false},
        {"picture, selection in the grid", Selected(Picture()), false, false},
        {"picture, selection behind a full-screen view", expandSelection, true, false},
        {"sound", wav, false, true},
        {"sound not usable", unusableSound, false, false},
        {"sound with a selection", Selected(wav), false, false},
        {"video", Of(MEDIA_VIDEO), false, true},
        {"document", Of(MEDIA_DOCUMENT), false, false},
        {"folder", Of(MEDIA_FOLDER), false, false},
        {"empty", Empty(FILTER_ALL), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HMENU setAs = LoadSub(FILTER_ALL, MenuPopup::SetAs);
        ASSERT_NE(setAs, nullptr);
        SetAll(setAs, MF_ENABLED);
        ApplySetAsMenuRules(setAs, c.state);
        EXPECT_EQ(Enabled(setAs, ID_SET_AS_TODAY), c.picture);
        EXPECT_EQ(Enabled(setAs, ID_SET_AS_CALLER_ID), c.picture);
        EXPECT_EQ(Enabled(setAs, ID_SET_AS_RINGTONE), c.ringtone);
        DestroyMenu(bar_);
        bar_ = nullptr;
    }
}

TEST_F(MenuRulesTest, EditSubMenu) {
    const std::initializer_list<UINT> kEdit = {
        ID_EDIT_CUT,        ID_EDIT_COPY,        ID_EDIT_PASTE,  ID_EDIT_SELECT_TOGGLE,
        ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_NONE, ID_EDIT_RENAME, ID_EDIT_NEW_FOLDER};
    MenuState pasting = Empty(FILTER_ALL);
    pasting.canPaste = true;
    MenuState onlyFolders = Of(MEDIA_FOLDER);
    onlyFolders.allFolders = true;
    MenuState forwardLocked = Picture();
    forwardLocked.copyAllowed = false;
    struct Case {
        const char* what;
        MenuState state;
        std::vector<UINT> enabled;
    };
    const Case cases[] = {
        {"picture",
         Picture(),
         {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_SELECT_TOGGLE, ID_EDIT_SELECT_ALL, ID_EDIT_RENAME,
          ID_EDIT_NEW_FOLDER}},
        {"selection",
         Selected(Picture()),
         {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_SELECT_TOGGLE, ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_NONE,
          ID_EDIT_NEW_FOLDER}},
        {"folder among files",
         Of(MEDIA_FOLDER),
         {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_SELECT_ALL, ID_EDIT_RENAME, ID_EDIT_NEW_FOLDER}},
        {"only folders",
         onlyFolders,
         {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_RENAME, ID_EDIT_NEW_FOLDER}},
        {"copy not allowed",
         forwardLocked,
         {ID_EDIT_CUT, ID_EDIT_SELECT_TOGGLE, ID_EDIT_SELECT_ALL, ID_EDIT_RENAME,
          ID_EDIT_NEW_FOLDER}},
        {"empty", Empty(FILTER_ALL), {ID_EDIT_NEW_FOLDER}},
        {"empty with a clipboard", pasting, {ID_EDIT_PASTE, ID_EDIT_NEW_FOLDER}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HMENU edit = LoadSub(FILTER_ALL, MenuPopup::Edit);
        ASSERT_NE(edit, nullptr);
        SetAll(edit, MF_ENABLED);
        ApplyEditMenuRules(edit, c.state);
        EXPECT_EQ(EnabledOf(edit, kEdit), c.enabled);
        DestroyMenu(bar_);
        bar_ = nullptr;
    }
}

TEST_F(MenuRulesTest, SortByChecksTheModeShown) {
    const HMENU sort = LoadSub(FILTER_ALL, MenuPopup::SortBy);
    ASSERT_NE(sort, nullptr);
    const UINT ids[] = {ID_SORT_BY_NAME, ID_SORT_BY_DATE, ID_SORT_BY_SIZE};
    for (DWORD mode = 100; mode <= 102; ++mode) {
        ApplySortMenuRules(sort, mode);
        for (DWORD other = 100; other <= 102; ++other) {
            const bool checked =
                (GetMenuState(sort, ids[other - 100], MF_BYCOMMAND) & MF_CHECKED) != 0;
            EXPECT_EQ(checked, other == mode) << mode << " " << other;
        }
    }
    // An unknown mode leaves the check where it was.
    ApplySortMenuRules(sort, 7);
    EXPECT_NE(GetMenuState(sort, ID_SORT_BY_SIZE, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

}  // namespace
