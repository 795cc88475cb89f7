// The text, selection and limit of a single-line edit field, apart from any window: every
// editing rule lives here so it can be tested on its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::controls {

class EditModel {
  public:
    // The limit a new field starts with, and the one EM_LIMITTEXT (0) sets.
    static constexpr size_t kDefaultLimit = 30000;
    static constexpr size_t kLargestLimit = 0x7FFFFFFE;

    const std::u16string& Text() const { return text_; }
    size_t Anchor() const { return anchor_; }
    size_t Caret() const { return caret_; }
    size_t SelStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
    size_t SelEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
    bool HasSelection() const { return anchor_ != caret_; }
    size_t Limit() const { return limit_; }

    // 0 means the largest limit. Text already longer stays.
    void SetLimit(size_t limit) { limit_ = limit ? limit : kLargestLimit; }
    // Replaces everything, ignoring the limit, and puts the caret at the start.
    void SetText(std::u16string_view text);
    // EM_SETSEL: a negative start removes the selection (the caret stays); a negative end
    // means the end of the text; both clamp to the text.
    void SetSel(long start, long end);

    struct Replaced {
        bool changed = false;
        bool truncated = false;  // part of the text did not fit the limit
    };
    // Replaces the selection with as much of `text` as the limit allows.
    Replaced ReplaceSel(std::u16string_view text);
    // Backspace and Delete: the selection, else one unit before / after the caret.
    bool DeleteBack();
    bool DeleteForward();

    enum class Move { Left, Right, Home, End };
    // Moves the caret; with `extend` the anchor stays (Shift held). Without `extend`, Left and
    // Right over a selection collapse it to its start / end.
    void MoveCaret(Move move, bool extend);
    // Places the caret at `index` (a tap), or extends to it (a drag).
    void PlaceCaret(size_t index, bool extend);

  private:
    std::u16string text_;
    size_t anchor_ = 0;
    size_t caret_ = 0;
    size_t limit_ = kDefaultLimit;
};

}  // namespace platform::controls
