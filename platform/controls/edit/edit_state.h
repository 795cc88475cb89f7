// The state behind one "edit" window.
#pragma once

#include "platform/controls/edit/edit.h"
#include "platform/controls/edit/edit_model.h"
#include "platform/controls/internal/control_base.h"

namespace platform::controls {

class Edit final : public ControlBase {
  public:
    Edit(HWND hwnd, const CREATESTRUCTW& cs);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    LRESULT OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnChar(WCHAR c);
    void OnKeyDown(UINT vk);
    void OnFocus(bool gained);
    void OnStylus(UINT message, int x);
    void OnBlink();
    // After a change: EN_UPDATE, redraw, EN_CHANGE (both only when `notify`).
    void Changed(bool notify = true);
    void CaretMoved();

    // Text geometry in client pixels, in the field's font.
    int TextX(size_t index) const;
    size_t IndexAt(int x) const;
    void ScrollToCaret();
    RECT TextArea() const;
    void Paint();

    EditModel model_;
    bool modified_ = false;
    bool caretOn_ = false;
    bool dragging_ = false;
    int scroll_ = 0;  // pixels of text scrolled off the left edge
};

}  // namespace platform::controls
