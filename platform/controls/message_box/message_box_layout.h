// What a message box shows and where, worked out before its window exists.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/message_box/message_box.h"

namespace platform::controls {

struct MessageBoxButton {
    int id = 0;
    const char16_t* label = nullptr;
    RECT rect{};
};

struct MessageBoxLayout {
    std::u16string text;
    std::u16string caption;
    UINT icon = 0;  // MB_ICON... or 0
    std::vector<MessageBoxButton> buttons;
    size_t defaultButton = 0;
    RECT panel{};  // screen
    RECT band{};   // client: the caption band
    RECT iconRect{};
    RECT textRect{};
};

// The buttons of an MB_ type, left to right; MB_OK for unknown types.
std::vector<MessageBoxButton> ButtonsFor(UINT type);
// The answer Escape gives, or 0 when the box has no Cancel, No or lone OK button.
int EscapeAnswer(const std::vector<MessageBoxButton>& buttons);
MessageBoxLayout LayOutMessageBox(LPCWSTR text, LPCWSTR caption, UINT type);
// Paints the panel, band, caption, icon and text (the buttons are child windows).
void PaintMessageBox(HDC hdc, const MessageBoxLayout& layout, const RECT& client);

}  // namespace platform::controls
