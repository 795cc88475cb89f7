// The thumbnail grid: the one concrete browser. It fixes the grid geometry for portrait and
// landscape, draws cells with their badges and marks, fills the page's slots and decodes picture
// and video thumbnails one cell at a time, so the grid shows at once and fills in.
#pragma once

#include "browser/browser.h"

class CThumbnailView : public CBrowser {
  public:
    CThumbnailView();
    ~CThumbnailView() override;

    // Registers the "ThumbnailView" window class (the main window's constructor calls this).
    static BOOL RegisterWindowClass();

    BOOL CreateBrowserWindow(HWND parent) override;
    BOOL Layout() override;
    void ComputeCellRects() override;
    void DrawCell(int slot, HDC dc) override;
    void DrawCellBackground(HDC dc, const RECT& cell) override;
    void DrawCellName(HDC dc, int slot) override;
    void DrawSelectionMark(HDC dc, int slot) override;
    void DrawFocusFrame(HDC dc, int slot) override;
    void DrawRightsBadge(HDC dc, int slot) override;
    void DrawSelectionBox(HDC dc, int slot) override;
    void FillSlots() override;
    void DecodeVisibleThumbnails() override;

    // Rebuilds the thumbnail of the item `name` when it is visible (the folder watcher calls this
    // for a changed file); 1 when the item is visible.
    int RefreshThumbnail(LPCWSTR name);

  private:
    static LRESULT WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
