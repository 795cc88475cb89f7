// A browser over a real container on a temporary device: a grid of fixed geometry in a plain
// child window with a real scroll bar, a parent that records what it is sent, and an owner that
// records the header calls.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browser/browser.h"
#include "browser/browser_owner.h"
#include "platform/user/user.h"
#include "tests/support/rights_fixtures.h"

namespace browsertest {

constexpr int kCellSize = 60;
constexpr int kGap = 4;
constexpr int kTop = 20;
constexpr int kBoxSize = 14;

class TestBrowser : public CBrowser {
  public:
    TestBrowser(int rows, int columns);
    ~TestBrowser() override;

    BOOL CreateBrowserWindow(HWND parent) override;
    BOOL Layout() override { return TRUE; }
    void ComputeCellRects() override;
    void DrawCell(int slot, HDC dc) override;
    void DrawCellBackground(HDC, const RECT&) override {}
    void DrawCellName(HDC, int) override {}
    void DrawSelectionMark(HDC, int) override {}
    void DrawFocusFrame(HDC, int) override {}
    void DrawRightsBadge(HDC, int) override {}
    void DrawSelectionBox(HDC, int) override {}
    void FillSlots() override;
    // A small bitmap per visible item stands in for a decoded thumbnail.
    void DecodeVisibleThumbnails() override;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    using CBrowser::OnKeyDown;
    using CBrowser::OnLButtonDown;
    using CBrowser::OnLButtonUp;
    using CBrowser::OnVScroll;

    // The cell slot's centre and its selection box's centre, in client coordinates.
    POINT CellCentre(int slot) const;
    POINT BoxCentre(int slot) const;

    std::vector<int> drawn;
};

class RecordingOwner : public IBrowserOwner {
  public:
    void PrepareSendMenu(HMENU) override { ++sendMenus; }
    void PrepareSetAsMenu(HMENU) override { ++setAsMenus; }
    RECT GetFolderNameRect() const override { return {0, 0, 150, kTop}; }
    void DrawSortName(HDC) override { ++sortNames; }
    void OnFolderChanged() override { ++folderChanges; }

    int sendMenus = 0;
    int setAsMenus = 0;
    int sortNames = 0;
    int folderChanges = 0;
};

// One message the parent window received.
struct ParentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class BrowserTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // `count` documents f00.txt, f01.txt, ... in `folder` (made if needed).
    void MakeDocuments(std::u16string_view folder, int count);
    void MakeFolder(std::u16string_view devicePath);
    void MakeFile(std::u16string_view devicePath);
    // Loads `folder` sorted by name, then attaches a browser of rows x columns to it.
    void Open(std::u16string_view folder, int rows, int columns);
    // A page move as the main window makes it: page and scroll, refresh when it changed.
    void Apply(int mode);
    // Deletes shown[index] from the container and tells the browser; the browser's result.
    int Remove(int index);

    // F, L and the first position agree with the container's list.
    void ExpectConsistent() const;
    std::string NameAt(int index) const;
    bool HasThumbnail(int index) const;
    std::vector<ParentMessage> ParentMessages(UINT message) const;

    testing_support::RightsDevice device_;
    CMediaContainer* container_ = nullptr;
    HWND parent_ = nullptr;
    RecordingOwner owner_;
    std::unique_ptr<TestBrowser> browser_;
};

}  // namespace browsertest
