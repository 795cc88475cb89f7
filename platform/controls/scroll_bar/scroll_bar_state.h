// The state behind one "scrollbar" window: its numbers, its parts on screen, and the stylus
// gesture in progress.
#pragma once

#include "platform/controls/internal/control_base.h"
#include "platform/controls/scroll_bar/scroll_model.h"

namespace platform::controls {

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// Where the parts of a vertical bar lie, in client pixels along its length.
struct ScrollLayout {
    int arrow = 0;  // height of each arrow box
    int trackTop = 0;
    int trackBottom = 0;
    int thumbTop = 0;
    int thumbBottom = 0;  // thumbTop == thumbBottom: no thumb
};

ScrollLayout LayoutScrollBar(const ScrollModel& model, int width, int height, int value);
ScrollPart HitScrollBar(const ScrollLayout& layout, int y);
// The value a thumb whose top is at `thumbTop` stands for.
int ScrollValueAt(const ScrollModel& model, const ScrollLayout& layout, int thumbTop);

class ScrollBar final : public ControlBase {
  public:
    ScrollBar(HWND hwnd, const CREATESTRUCTW&) : ControlBase(hwnd) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    ScrollModel& Model() { return model_; }
    void Redraw();

  private:
    ScrollLayout Layout() const;
    void OnButtonDown(int y);
    void OnMouseMove(int y);
    void OnButtonUp();
    void OnRepeat();
    void EndGesture();
    // WM_VSCROLL to the parent; false when the bar did not survive it.
    bool Report(WORD code, int pos = 0);
    void Paint();

    ScrollModel model_;
    ScrollPart pressed_ = ScrollPart::None;
    int grabOffset_ = 0;
    int stylusY_ = 0;
};

}  // namespace platform::controls
