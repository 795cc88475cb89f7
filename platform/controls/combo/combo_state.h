// The state behind one "combobox" window and its drop-down list window.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/combo/combo_box.h"
#include "platform/controls/internal/control_base.h"

namespace platform::controls {

// The class of the pop-up list a combo box opens.
inline constexpr const WCHAR* kComboListClass = u"ComboLBox";

class ComboBox final : public ControlBase {
  public:
    ComboBox(HWND hwnd, const CREATESTRUCTW& cs);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    // Called by the list window.
    int Count() const { return static_cast<int>(items_.size()); }
    int Highlight() const { return highlight_; }
    int TopIndex() const { return top_; }
    int ItemHeight() const;
    int VisibleLines() const;
    const std::u16string& Text(int index) const { return items_[static_cast<size_t>(index)].text; }
    void SetHighlight(int index);
    // Closes the list: `accept` takes the highlighted line (CBN_SELENDOK), otherwise the
    // selection stays (CBN_SELENDCANCEL); CBN_CLOSEUP follows, then CBN_SELCHANGE if it changed.
    void CloseList(bool accept);
    void PaintList(HWND list);

  private:
    struct Item {
        std::u16string text;
        ULONG_PTR data = 0;
    };

    LRESULT OnItemMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Insert(int index, LPCWSTR text);
    LRESULT SetCurSel(int index);
    void OnKeyDown(UINT vk);
    void OnFocus(bool gained);
    void OnSize();
    int BoxHeight() const;
    void OpenList();
    RECT ListRect() const;
    void Paint();

    std::vector<Item> items_;
    int selection_ = -1;
    int highlight_ = -1;
    int top_ = 0;
    int droppedHeight_;
    HWND list_ = nullptr;
    bool resizing_ = false;
};

LRESULT CALLBACK ComboListWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::controls
