// Tap and hold: which context menu opens where, with which items enabled, and what the main
// window is told first. A timer inside the menu's loop records the menu and closes it.
#include "files/operator/file_operator.h"
#include "platform/controls/menu.h"
#include "platform/user/user.h"
#include "resources/resource_ids.h"
#include "tests/browser/paging/browser_fixture.h"

namespace browsertest {
namespace {

constexpr UINT_PTR kLookTimer = 77;

std::vector<platform::OpenMenuItem>& Seen() {
    static std::vector<platform::OpenMenuItem> items;
    return items;
}

void CALLBACK LookAndClose(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    const auto menus = platform::DescribeOpenMenus();
    if (menus.empty())
        return;
    Seen() = menus.front().items;
    KillTimer(hwnd, id);
    EndMenu();
}

// Whether the item `id` is listed and enabled; nullopt when it is not listed.
std::optional<bool> Enabled(UINT id) {
    for (const platform::OpenMenuItem& item : Seen()) {
        if (item.id == id)
            return item.enabled;
    }
    return std::nullopt;
}

class ContextMenuTest : public BrowserTest {
  protected:
    void SetUp() override {
        BrowserTest::SetUp();
        MakeDocuments(u"\\Pics", 3);
        MakeFolder(u"\\Pics\\Sub");
        Open(u"\\Pics", 4, 3);
        ASSERT_EQ(NameAt(0), "Sub");
    }
    // Holds the stylus at `p` until the menu opens; the items it showed.
    void Hold(POINT p) {
        Seen().clear();
        SetTimer(parent_, kLookTimer, 30, LookAndClose);
        browser_->OnLButtonDown(MAKELPARAM(p.x, p.y));
        KillTimer(parent_, kLookTimer);
    }
    size_t SelectNoneSent() const {
        size_t count = 0;
        for (const ParentMessage& m : ParentMessages(WM_COMMAND))
            count += LOWORD(m.wParam) == ID_EDIT_SELECT_NONE;
        return count;
    }
};

TEST_F(ContextMenuTest, FileWithoutSelection) {
    Hold(browser_->CellCentre(2));
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(container_->GetCursorIndex(), 2);
    EXPECT_EQ(SelectNoneSent(), 0u);
    EXPECT_EQ(Enabled(ID_EDIT_COPY), true);
    EXPECT_EQ(Enabled(ID_EDIT_SELECT_NONE), false);
    EXPECT_EQ(Enabled(ID_EDIT_RENAME), true);
    ASSERT_EQ(Seen().size(), 10u);
    for (int position : {POS_CONTEXT_SEND, POS_CONTEXT_SET_AS}) {
        EXPECT_TRUE(Seen()[position].popup) << position;
        EXPECT_TRUE(Seen()[position].enabled) << position;
    }
}

TEST_F(ContextMenuTest, UnselectedFileWhileOthersAreSelected) {
    container_->ToggleSelect(container_->ItemAt(1));
    Hold(browser_->CellCentre(2));
    ASSERT_FALSE(Seen().empty());
    // The recording main window does not clear the selection, so it still counts.
    EXPECT_EQ(SelectNoneSent(), 1u);
    EXPECT_EQ(Enabled(ID_EDIT_COPY), true);
    EXPECT_EQ(Enabled(ID_EDIT_SELECT_NONE), true);
    EXPECT_EQ(Enabled(ID_EDIT_RENAME), false);
}

TEST_F(ContextMenuTest, SelectedFileKeepsTheSelection) {
    container_->ToggleSelect(container_->ItemAt(2));
    Hold(browser_->CellCentre(2));
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(SelectNoneSent(), 0u);
}

TEST_F(ContextMenuTest, FolderBlocksRenameOnlyForMultiSelection) {
    Hold(browser_->CellCentre(0));
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(Enabled(ID_EDIT_RENAME), true);
    // The folder menu, not the file menu.
    EXPECT_TRUE(Enabled(ID_EDIT_NEW_FOLDER).has_value());
    EXPECT_FALSE(Enabled(ID_EDIT_SELECT_TOGGLE).has_value());
    container_->ToggleSelect(container_->ItemAt(1));
    container_->ToggleSelect(container_->ItemAt(2));
    Hold(browser_->CellCentre(0));
    EXPECT_EQ(Enabled(ID_EDIT_RENAME), false);
}

TEST_F(ContextMenuTest, OutsideCellsClearsSelectionAndOffersPasteDisabled) {
    Hold(POINT{200, 300});
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(SelectNoneSent(), 1u);
    EXPECT_EQ(Enabled(ID_EDIT_PASTE), false);
    EXPECT_TRUE(Enabled(ID_EDIT_NEW_FOLDER).has_value());
}

TEST_F(ContextMenuTest, StylusUpAfterTheHoldIsNoTap) {
    Hold(browser_->CellCentre(0));
    ASSERT_FALSE(Seen().empty());
    browser_->OnLButtonUp(MAKELPARAM(browser_->CellCentre(0).x, browser_->CellCentre(0).y));
    EXPECT_EQ(std::u16string(container_->GetFolderPath()), u"\\Pics");
}

}  // namespace
}  // namespace browsertest
