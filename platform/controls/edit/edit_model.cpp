#include "platform/controls/edit/edit_model.h"

#include <algorithm>

namespace platform::controls {

void EditModel::SetText(std::u16string_view text) {
    text_.assign(text);
    anchor_ = caret_ = 0;
}

void EditModel::SetSel(long start, long end) {
    const size_t length = text_.size();
    if (start < 0) {
        anchor_ = caret_;
        return;
    }
    const size_t s = std::min(static_cast<size_t>(start), length);
    const size_t e = end < 0 ? length : std::min(static_cast<size_t>(end), length);
    anchor_ = s;
    caret_ = e;
}

EditModel::Replaced EditModel::ReplaceSel(std::u16string_view text) {
    const size_t start = SelStart();
    const size_t removed = SelEnd() - start;
    const size_t kept = text_.size() - removed;
    const size_t room = limit_ > kept ? limit_ - kept : 0;
    const size_t take = std::min(text.size(), room);
    Replaced result;
    result.truncated = take < text.size();
    if (removed == 0 && take == 0)
        return result;
    text_.replace(start, removed, text.substr(0, take));
    anchor_ = caret_ = start + take;
    result.changed = true;
    return result;
}

bool EditModel::DeleteBack() {
    if (!HasSelection()) {
        if (caret_ == 0)
            return false;
        anchor_ = caret_ - 1;
    }
    return ReplaceSel({}).changed;
}

bool EditModel::DeleteForward() {
    if (!HasSelection()) {
        if (caret_ >= text_.size())
            return false;
        anchor_ = caret_ + 1;
    }
    return ReplaceSel({}).changed;
}

void EditModel::MoveCaret(Move move, bool extend) {
    size_t target = caret_;
    switch (move) {
        case Move::Left:
            target = !extend && HasSelection() ? SelStart() : (caret_ ? caret_ - 1 : 0);
            break;
        case Move::Right:
            target = !extend && HasSelection() ? SelEnd() : std::min(caret_ + 1, text_.size());
            break;
        case Move::Home:
            target = 0;
            break;
        case Move::End:
            target = text_.size();
            break;
    }
    PlaceCaret(target, extend);
}

void EditModel::PlaceCaret(size_t index, bool extend) {
    caret_ = std::min(index, text_.size());
    if (!extend)
        anchor_ = caret_;
}

}  // namespace platform::controls
